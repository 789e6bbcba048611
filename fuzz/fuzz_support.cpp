#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "text/utf8_sequence.h"

void require(bool holds, const char* property)
{
    if (holds) return;
    std::fprintf(stderr, "Property failed: %s\n", property);
    std::abort();
}

Utf8String utf8Of(const std::string& bytes)
{
    if (bytes.empty()) return Utf8String();
    return Utf8String::fromUtf8(bytes.data(), static_cast<int32_t>(bytes.size()));
}

std::u16string unitsFromBytes(const std::string& bytes)
{
    std::u16string units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              static_cast<unsigned char>(bytes[i + 1]) << 8));
    return units;
}

Utf8String utf16Of(const std::u16string& units)
{
    if (units.empty()) return Utf8String();
    return Utf8String::fromWide(units.data(), static_cast<int32_t>(units.size()));
}

std::string bytesOf(const Utf8String& text)
{
    return std::string(text.text(), static_cast<size_t>(text.byteLength()));
}

std::u16string unitsOf(const Utf8String& text)
{
    const WideBuffer wide = text.toWide();
    return std::u16string(wide.units(), text.charCount());
}

std::vector<uint32_t> codePointsOf(const Utf8String& text)
{
    std::vector<uint32_t> codePoints;
    const char* end = text.text() + text.byteLength();
    for (const char* p = text.text(); p < end; p = nextUtf8Sequence(p, end))
        codePoints.push_back(decodeUtf8Sequence(p, end));
    return codePoints;
}

bool isPlainAscii(const std::string& bytes)
{
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value == 0 || value >= 0x80) return false;
    }
    return true;
}

void requireWellFormed(const Utf8String& text)
{
    const int32_t length = text.byteLength();
    require(length >= 0 && text.text()[length] == '\0', "a NUL stands behind the bytes");
    int32_t offset = 0;
    uint32_t count = 0;
    while (offset < length) {
        offset += utf8SequenceLength(static_cast<unsigned char>(text.text()[offset]));
        ++count;
    }
    require(offset == length, "the bytes are whole sequences");
    require(count == text.charCount(), "the character count matches the sequences");
}

int32_t consumeEdgyInt(FuzzedDataProvider& data)
{
    static const int32_t kEdges[] = {
        INT32_MIN, INT32_MIN + 1, -2, -1, 0, 1, 2, 3, 600, 800,
        16777215, 16777216, 16777217, 33554431, INT32_MAX - 1, INT32_MAX,
    };
    const auto choice = data.ConsumeIntegral<uint8_t>();
    if (choice < std::size(kEdges)) return kEdges[choice];
    return data.ConsumeIntegral<int32_t>();
}

// Utf8String made of any bytes or any UTF-16 units, then cut, searched,
// compared, rewritten and widened; plain ASCII texts are held against
// std::string doing the same.
#include <algorithm>
#include <iterator>
#include <memory>

#include "fuzz/fuzz_support.h"
#include "fuzz/reference_model.h"
#include "text/utf8_sequence.h"

namespace {

constexpr size_t kMaxTextBytes = 1024;
constexpr size_t kMaxPatternBytes = 64;

// A program text and, when it is plain ASCII, the std::string it stands for.
struct Sample {
    Utf8String text;
    bool ascii = false;
    std::string model;
};

Sample sampleOfBytes(const std::string& bytes)
{
    Sample sample{utf8Of(bytes), isPlainAscii(bytes), bytes};
    requireWellFormed(sample.text);
    const std::string kept = bytesOf(sample.text);
    require(bytes.compare(0, kept.size(), kept) == 0, "fromUtf8 keeps the bytes as they are");
    if (kept.size() < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[kept.size()]);
        require(bytes.size() - kept.size() < static_cast<size_t>(utf8SequenceLength(lead)),
                "fromUtf8 drops only a cut-off last sequence");
    }
    const std::string untilZero(bytes.c_str());
    require(bytesOf(Utf8String::fromUtf8(bytes.c_str(), 0)) == bytesOf(utf8Of(untilZero)),
            "fromUtf8 without a limit stops at the first zero byte");
    if (sample.ascii) require(kept == bytes, "fromUtf8 keeps ASCII whole");
    return sample;
}

Sample sampleOfUnits(const std::string& bytes)
{
    const std::u16string units = unitsFromBytes(bytes);
    Sample sample;
    sample.text = utf16Of(units);
    requireWellFormed(sample.text);
    require(unitsOf(sample.text) == units, "UTF-16 units come back unchanged, lone surrogates included");
    require(unitsOf(Utf8String::fromWide(units.c_str(), 0)) == std::u16string(units.c_str()),
            "fromWide without a count stops at the first zero unit");
    sample.ascii = std::all_of(units.begin(), units.end(), [](char16_t unit) { return unit > 0 && unit < 0x80; });
    if (sample.ascii) sample.model.assign(units.begin(), units.end());
    return sample;
}

uint32_t consumePosition(FuzzedDataProvider& data)
{
    static const uint32_t kEdges[] = {Utf8String::kRestOfText, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFEu};
    const auto choice = data.ConsumeIntegral<uint8_t>();
    return choice < std::size(kEdges) ? kEdges[choice] : choice - static_cast<uint32_t>(std::size(kEdges));
}

void checkPositionsAndMid(const Utf8String& text, uint32_t start, uint32_t count)
{
    const char* begin = text.text();
    const char* end = begin + text.byteLength();
    for (const uint32_t position : {0u, start, text.charCount(), text.charCount() + 1, Utf8String::kRestOfText}) {
        const char* at = text.bytePosition(position);
        require(at >= begin && at <= end, "bytePosition stays inside the text");
    }
    require(text.bytePosition(text.charCount()) == end, "bytePosition of the count is the end");

    const Utf8String piece = text.mid(start, count);
    requireWellFormed(piece);
    const uint32_t expected = start >= text.charCount() ? 0 : std::min(count, text.charCount() - start);
    require(piece.charCount() == expected, "mid takes what is there of the count");
    if (expected == 0) return;
    const char* from = text.bytePosition(start);
    require(end - from >= piece.byteLength() && bytesOf(piece) == std::string(from, piece.byteLength()),
            "mid copies the text's own bytes");
}

void checkFind(const Utf8String& text, const Utf8String& needle, uint32_t start, bool ignoreCase)
{
    const int32_t found = text.find(needle, start, ignoreCase);
    require(found == -1 || (found >= 0 && static_cast<uint32_t>(found) >= start &&
                            static_cast<uint32_t>(found) < text.charCount()),
            "find gives -1 or a position from start on");
    const std::vector<uint32_t> wanted = codePointsOf(needle);
    // A zero character ends a needle early, so only zero-free needles match whole.
    if (found < 0 || ignoreCase || std::count(wanted.begin(), wanted.end(), 0u) > 0) return;
    require(codePointsOf(text.mid(static_cast<uint32_t>(found), needle.charCount())) == wanted,
            "find points at the needle's characters");
}

void checkCompare(const Utf8String& left, const Utf8String& right)
{
    for (const bool ignoreCase : {false, true}) {
        const int32_t order = left.compare(right, ignoreCase);
        require(order >= -1 && order <= 1, "compare gives a sign");
        require(left.compare(left, ignoreCase) == 0, "a text equals itself");
    }
}

void checkWide(const Utf8String& text)
{
    const auto count = static_cast<int32_t>(text.charCount());
    const WideBuffer wide = text.toWide();
    require(wide.capacity() == count + 1 && wide.units()[count] == 0, "toWide holds every character and a NUL");
    const std::u16string all(wide.units(), static_cast<size_t>(count));
    const std::vector<uint32_t> codePoints = codePointsOf(text);
    for (size_t i = 0; i < all.size(); ++i)
        require(all[i] == (codePoints[i] & 0xFFFF), "a unit is its character's low 16 bits");

    for (const int32_t capacity : {-1, 0, 1, 2, count / 2 + 1, count, count + 1, count + 2}) {
        // Exactly the room given, so that ASan sees any write past it.
        const size_t room = capacity > 0 ? static_cast<size_t>(capacity) : 1;
        std::unique_ptr<WideChar[]> buffer(new WideChar[room]);
        buffer[0] = u'?';
        const int32_t written = text.copyToWide(buffer.get(), capacity);
        if (capacity <= 0) {
            require(written == count + 1 && buffer[0] == u'?', "copyToWide without room tells the room needed");
            continue;
        }
        require(written == std::min(count, capacity - 1) && buffer[static_cast<size_t>(written)] == 0,
                "copyToWide fills what fits and ends it");
        require(all.compare(0, static_cast<size_t>(written), buffer.get(), static_cast<size_t>(written)) == 0,
                "copyToWide writes the text's units");
    }
}

// The needle's characters before its first zero: what find actually matches.
uint32_t matchedLength(const Utf8String& needle)
{
    const std::vector<uint32_t> codePoints = codePointsOf(needle);
    return static_cast<uint32_t>(std::find(codePoints.begin(), codePoints.end(), 0u) - codePoints.begin());
}

void checkReplaceAll(const Utf8String& text, const Utf8String& needle, const Utf8String& replacement)
{
    // Only pairs that shorten the text at every step: those must end, whatever the bytes.
    if (replacement.charCount() >= matchedLength(needle)) return;
    const std::string before = bytesOf(text);
    Utf8String result = text;
    result.replaceAll(needle, replacement);
    requireWellFormed(result);
    require(bytesOf(text) == before, "replaceAll leaves other holders of the text alone");
    require(result.charCount() <= text.charCount(), "a shorter replacement never grows the text");
    if (replacement.find(needle, 0, false) < 0) require(result.find(needle, 0, false) < 0, "no needle is left");
}

void checkAgainstModel(const Sample& text, const Sample& needle, const Sample& replacement, uint32_t start,
                       uint32_t count)
{
    for (const bool ignoreCase : {false, true}) {
        require(text.text.find(needle.text, start, ignoreCase) == modelFind(text.model, needle.model, start, ignoreCase),
                "find matches std::string::find");
        require(text.text.compare(needle.text, ignoreCase) == modelCompare(text.model, needle.model, ignoreCase) &&
                    needle.text.compare(text.text, ignoreCase) == modelCompare(needle.model, text.model, ignoreCase),
                "compare matches std::string::compare");
    }
    require(bytesOf(text.text.mid(start, count)) == modelMid(text.model, start, count), "mid matches substr");
    require(static_cast<size_t>(text.text.bytePosition(start) - text.text.text()) ==
                std::min<size_t>(start, text.model.size()),
            "bytePosition of ASCII is the position");
    require(unitsOf(text.text) == std::u16string(text.model.begin(), text.model.end()), "ASCII widens unit by unit");

    std::string replaced = text.model;
    if (!modelReplaceAll(replaced, needle.model, replacement.model, 2048, 16384)) return;
    Utf8String result = text.text;
    result.replaceAll(needle.text, replacement.text);
    require(bytesOf(result) == replaced, "replaceAll matches replacing from the start again and again");
}

void checkNumbers(const Utf8String& text, int32_t number)
{
    require(text.toInt() == modelToInt(text.text()), "toInt reads as strtol with the program's rules");
    const Utf8String written = Utf8String::fromInt(number);
    requireWellFormed(written);
    require(bytesOf(written) == std::to_string(number) && written.toInt() == number, "fromInt writes decimal");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const bool fromUnits = data.ConsumeBool();
    const bool ignoreCase = data.ConsumeBool();
    const uint32_t start = consumePosition(data);
    const uint32_t count = consumePosition(data);
    const int32_t number = consumeEdgyInt(data);
    const std::string textBytes = data.ConsumeRandomLengthString(kMaxTextBytes);
    const std::string needleBytes = data.ConsumeRandomLengthString(kMaxPatternBytes);
    const std::string replacementBytes = data.ConsumeRandomLengthString(kMaxPatternBytes);

    const auto sampleOf = fromUnits ? sampleOfUnits : sampleOfBytes;
    const Sample text = sampleOf(textBytes);
    const Sample needle = sampleOf(needleBytes);
    const Sample replacement = sampleOf(replacementBytes);

    checkPositionsAndMid(text.text, start, count);
    checkFind(text.text, needle.text, start, ignoreCase);
    checkFind(text.text, needle.text, 0, ignoreCase);
    checkCompare(text.text, needle.text);
    checkWide(text.text);
    checkReplaceAll(text.text, needle.text, replacement.text);
    checkNumbers(text.text, number);

    const Utf8String joined = Utf8String::concat(text.text, needle.text);
    requireWellFormed(joined);
    require(bytesOf(joined) == bytesOf(text.text) + bytesOf(needle.text), "concat joins the bytes");

    if (text.ascii && needle.ascii && replacement.ascii) checkAgainstModel(text, needle, replacement, start, count);
    return 0;
}

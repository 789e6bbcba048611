#include "text/text_decoder.h"

#include <cstdint>
#include <cstring>

#include "text/utf8_sequence.h"

void TextDecoder::takeStartByte(char byte, std::string& text)
{
    static const struct {
        const char* bytes;
        size_t length;
        Encoding encoding;
    } kMarks[] = {
        {"\xEF\xBB\xBF", 3, Encoding::Utf8},
        {"\xFF\xFE", 2, Encoding::Utf16LittleEndian},
        {"\xFE\xFF", 2, Encoding::Utf16BigEndian},
    };
    held_[heldCount_++] = byte;
    bool markMayFollow = false;
    for (const auto& mark : kMarks) {
        if (heldCount_ > mark.length || std::memcmp(held_, mark.bytes, heldCount_) != 0) continue;
        if (heldCount_ == mark.length) {
            encoding_ = mark.encoding;
            heldCount_ = 0;
            return;
        }
        markMayFollow = true;
    }
    if (markMayFollow) return;
    encoding_ = Encoding::Utf8;
    text.append(held_, heldCount_);
    heldCount_ = 0;
}

void TextDecoder::feed(const char* bytes, size_t count, std::string& text)
{
    size_t at = 0;
    for (; at < count && encoding_ == Encoding::Unknown; ++at) takeStartByte(bytes[at], text);
    if (encoding_ == Encoding::Utf8) {
        text.append(bytes + at, count - at);
        return;
    }
    for (; at < count; ++at) {
        if (heldCount_ == 0) {
            held_[heldCount_++] = bytes[at];
            continue;
        }
        const uint32_t first = static_cast<unsigned char>(held_[0]);
        const uint32_t second = static_cast<unsigned char>(bytes[at]);
        const uint32_t unit = encoding_ == Encoding::Utf16LittleEndian ? first | second << 8 : first << 8 | second;
        // Each unit by itself, surrogate halves included, as Utf8String::fromWide
        // does: the text then goes back to exactly the file's units.
        char sequence[6];
        text.append(sequence, static_cast<size_t>(encodeUtf8Sequence(unit, sequence)));
        heldCount_ = 0;
    }
}

void TextDecoder::finish(std::string& text)
{
    if (encoding_ == Encoding::Unknown) text.append(held_, heldCount_);
    heldCount_ = 0;
}

std::string decodeText(const char* bytes, size_t count)
{
    std::string text;
    TextDecoder decoder;
    decoder.feed(bytes, count, text);
    decoder.finish(text);
    return text;
}

#include "codecs/xmp_orientation.h"

#include <algorithm>
#include <cstring>

namespace {

bool isSpace(uint8_t byte)
{
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
}

// Reads the packet's text forward from a place, never past its end.
class Cursor {
public:
    Cursor(uint8_t* at, uint8_t* end) : at_(at), end_(end) {}

    uint8_t* at() const { return at_; }
    void skipSpace()
    {
        while (at_ != end_ && isSpace(*at_)) ++at_;
    }
    bool take(char wanted)
    {
        if (at_ == end_ || *at_ != static_cast<uint8_t>(wanted)) return false;
        ++at_;
        return true;
    }
    // The quote an attribute's value opens with, or 0.
    char takeQuote()
    {
        for (char quote : {'"', '\''}) {
            if (take(quote)) return quote;
        }
        return 0;
    }
    bool takeOrientationDigit()
    {
        if (at_ == end_ || *at_ < '1' || *at_ > '8') return false;
        ++at_;
        return true;
    }

private:
    uint8_t* at_;
    uint8_t* end_;
};

// The digit of `="6"` after the name, or nullptr.
uint8_t* attributeValue(Cursor cursor)
{
    cursor.skipSpace();
    if (!cursor.take('=')) return nullptr;
    cursor.skipSpace();
    const char quote = cursor.takeQuote();
    uint8_t* digit = cursor.at();
    return quote && cursor.takeOrientationDigit() && cursor.take(quote) ? digit : nullptr;
}

// The digit of `>6</` after the name, or nullptr.
uint8_t* elementValue(Cursor cursor)
{
    cursor.skipSpace();
    if (!cursor.take('>')) return nullptr;
    cursor.skipSpace();
    uint8_t* digit = cursor.at();
    if (!cursor.takeOrientationDigit()) return nullptr;
    cursor.skipSpace();
    return cursor.take('<') && cursor.take('/') ? digit : nullptr;
}

}  // namespace

void setXmpOrientationUpright(uint8_t* packet, size_t count)
{
    static const char kName[] = "tiff:Orientation";
    const size_t nameBytes = std::strlen(kName);
    uint8_t* const end = packet + count;
    for (uint8_t* name = packet; (name = std::search(name, end, kName, kName + nameBytes)) != end; name += nameBytes) {
        // Only a whole name: an attribute stands after a space, an element
        // after its opening bracket.
        const uint8_t before = name == packet ? 0 : name[-1];
        const Cursor after(name + nameBytes, end);
        uint8_t* digit = before == '<' ? elementValue(after) : isSpace(before) ? attributeValue(after) : nullptr;
        if (digit) *digit = '1';
    }
}

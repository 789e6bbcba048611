#include <cstring>

#include "text/case_table.h"
#include "text/utf8_sequence.h"
#include "text/utf8_string.h"

static uint32_t foldCase(uint32_t codePoint)
{
    const uint32_t upper = upperCaseOf(codePoint);
    return upper == kNoUpperCase ? codePoint : upper;
}

namespace {
// Walks a text one character at a time, folding case when asked.
class CharacterCursor {
public:
    CharacterCursor(const char* p, const char* end, bool ignoreCase) : p_(p), end_(end), ignoreCase_(ignoreCase) {}

    uint32_t current() const
    {
        const uint32_t codePoint = decodeUtf8Sequence(p_, end_);
        return ignoreCase_ ? foldCase(codePoint) : codePoint;
    }
    void advance() { p_ = nextUtf8Sequence(p_, end_); }
    bool atEnd() const { return p_ >= end_; }

private:
    const char* p_;
    const char* end_;
    bool ignoreCase_;
};
}  // namespace

static int32_t orderOf(uint32_t left, uint32_t right)
{
    return left < right ? -1 : left > right ? 1 : 0;
}

int32_t Utf8String::find(const Utf8String& needle, uint32_t start, bool ignoreCase) const
{
    if (start >= charCount() || needle.charCount() == 0) return -1;
    const char* from = bytePosition(start);

    if (!ignoreCase && isSingleByte()) {
        const char* found = std::strstr(from, needle.text());
        return found ? static_cast<int32_t>(start + (found - from)) : -1;
    }

    int32_t index = 0;
    for (CharacterCursor candidate(from, end(), ignoreCase); !candidate.atEnd(); candidate.advance(), ++index) {
        CharacterCursor haystack = candidate;
        CharacterCursor pattern(needle.text(), needle.end(), ignoreCase);
        uint32_t mine = haystack.current();
        uint32_t wanted = pattern.current();
        while (mine == wanted && wanted != 0) {
            haystack.advance();
            pattern.advance();
            mine = haystack.current();
            wanted = pattern.current();
        }
        if (wanted == 0) return static_cast<int32_t>(start) + index;
    }
    return -1;
}

int32_t Utf8String::compare(const Utf8String& other, bool ignoreCase) const
{
    if (!ignoreCase && isSingleByte()) {
        const int difference = std::strcmp(text(), other.text());
        return difference < 0 ? -1 : difference > 0 ? 1 : 0;
    }
    CharacterCursor mine(text(), end(), ignoreCase);
    CharacterCursor theirs(other.text(), other.end(), ignoreCase);
    for (;;) {
        const uint32_t a = mine.current();
        const uint32_t b = theirs.current();
        if (a != b) return orderOf(a, b);
        if (a == 0) return 0;
        mine.advance();
        theirs.advance();
    }
}

void Utf8String::replaceAll(const Utf8String& needle, const Utf8String& replacement)
{
    // A replacement that holds the needle would be replaced again forever.
    if (needle.charCount() == 0 || replacement.find(needle, 0, false) >= 0) return;
    for (;;) {
        const int32_t position = find(needle, 0, false);
        if (position < 0) return;
        const auto behind = static_cast<uint32_t>(position) + needle.charCount();
        Utf8String replaced = mid(0, static_cast<uint32_t>(position));
        replaced.append(replacement);
        replaced.append(mid(behind, kRestOfText));
        *this = replaced;
    }
}

#include "text/utf8_string.h"

#include <vector>

// Stand-in for the host build, which has no ANSI code page: every byte is
// taken as the Latin-1 character of the same value.
Utf8String Utf8String::fromAnsi(const char* text)
{
    if (!text || !*text) return Utf8String();
    std::vector<WideChar> units;
    for (const char* p = text; *p; ++p) units.push_back(static_cast<unsigned char>(*p));
    return fromWide(units.data(), static_cast<int32_t>(units.size()));
}

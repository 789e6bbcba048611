#include <windows.h>

#include <memory>

#include "text/utf8_string.h"

Utf8String Utf8String::fromAnsi(const char* text)
{
    if (!text) return Utf8String();
    const int unitCount = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (unitCount <= 1) return Utf8String();
    std::unique_ptr<wchar_t[]> units(new wchar_t[unitCount]);
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, units.get(), unitCount) != unitCount) return Utf8String();
    return fromWide(units.get(), unitCount - 1);
}

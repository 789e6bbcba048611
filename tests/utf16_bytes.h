#pragma once

#include <string>

// A text's UTF-16 units as a file holds them, two bytes each in the given
// order: what Notepad's "Unicode" (little-endian) and "Unicode big endian" save.
inline std::string utf16Bytes(const std::u16string& text, bool littleEndian)
{
    std::string bytes;
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

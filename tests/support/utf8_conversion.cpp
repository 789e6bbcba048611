#include "tests/support/utf8_conversion.h"

#include <windows.h>

std::string toUtf8(const std::wstring& text)
{
    if (text.empty()) return {};
    const int units = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), units, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::wstring fromUtf8(const std::string& bytes)
{
    if (bytes.empty()) return {};
    const int count = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), count, nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), count, text.data(), length);
    return text;
}

std::wstring wideOf(const Utf8String& text)
{
    return std::wstring(text.toWide().units());
}

Utf8String utf8Of(const std::wstring& text)
{
    return Utf8String::fromWide(text.c_str(), static_cast<int32_t>(text.size()));
}

#pragma once

#include <string>

#include "text/utf8_string.h"

std::string toUtf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& bytes);

// Between the program's own text type and the tests' wide strings.
std::wstring wideOf(const Utf8String& text);
Utf8String utf8Of(const std::wstring& text);

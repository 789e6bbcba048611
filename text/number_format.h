#pragma once

#include <cstdint>
#include <initializer_list>

#include "text/utf8_string.h"

// A translated format whose "%d" conversions take the numbers in order. A
// format with another count of them (a broken translation) gives way to the
// English one, which has exactly as many.
Utf8String formatNumbers(const Utf8String& format, const Utf8String& english, std::initializer_list<uint32_t> numbers);

// The same for "%s" conversions and texts, such as file names.
Utf8String formatTexts(const Utf8String& format, const Utf8String& english, std::initializer_list<Utf8String> texts);

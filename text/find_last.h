#pragma once

#include "text/utf8_string.h"

// The character position of the needle's last occurrence in the text, or -1.
int32_t findLast(const Utf8String& text, const Utf8String& needle);

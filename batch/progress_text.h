#pragma once

#include <cstdint>

#include "text/utf8_string.h"

// The progress line's translation key, "Resizing %d of %d...".
Utf8String progressTextKey();

// The progress line in a translated format: its first "%d" takes the
// picture at hand, the second the count. A format without exactly two
// (a broken translation) gives way to the English one.
Utf8String progressText(const Utf8String& format, uint32_t current, uint32_t total);

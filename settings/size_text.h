#pragma once

#include "settings/image_size.h"
#include "text/utf8_string.h"

// Reads "WxH" leniently: the first lowercase x splits the text, and each side
// reads as Utf8String::toInt does. Both numbers must be above 0; otherwise the
// text is refused and the size is 0 by 0.
bool parseSize(const Utf8String& text, ImageSize& size);

// The canonical text form, such as "800x600".
Utf8String formatSize(int32_t width, int32_t height);

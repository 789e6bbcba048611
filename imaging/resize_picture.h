#pragma once

#include "settings/image_size.h"
#include "text/utf8_string.h"

// Writes a copy of the picture fitted into the requested size beside it,
// under the first free "<base>_<W>x<H>[_n].<ext>"; gives the copy's path.
// False, leaving nothing behind, when the picture cannot be read, scaled or
// written. Safe on several threads at once: every object it makes is its own.
bool resizePictureFile(const Utf8String& picturePath, const ImageSize& requested, Utf8String& copyPath);

#pragma once

#include "imaging/resize_outcome.h"
#include "settings/preset.h"
#include "text/utf8_string.h"

// Writes a copy of the picture fitted into the preset's size beside it, as
// its options say, under the first free "<base>_<W>x<H>[_n].<ext>", and
// gives the copy's path.
// Anything but Written leaves nothing behind, and so does an exception
// (std::bad_alloc) thrown on the way. Safe on several threads at once: every
// object it makes is its own.
ResizeOutcome resizePictureFile(const Utf8String& picturePath, const Preset& preset, Utf8String& copyPath);

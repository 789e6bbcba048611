#pragma once

#include "codecs/picture_decoder.h"
#include "pixels/pixel_view.h"
#include "text/utf8_string.h"

// The kind a copy is written as: the source's own where the program writes
// that kind, otherwise JPEG, or PNG when a pixel of the copy is transparent.
PictureKind copyKindFor(PictureKind source, const PixelView& copy);

// The extension a copy of that kind is named with: the source's own where it
// names that kind, in any letter case, otherwise the kind's usual one.
Utf8String copyExtension(const Utf8String& sourceExtension, PictureKind kind);

#pragma once

#include "pixels/pixel_view.h"
#include "settings/image_size.h"

// How much of a picture stored at `stored` the pixels of a decoder that
// shrank it to `decoded` stand for. Decoders that shrink by halves (JPEG's
// 1/2, 1/4, 1/8) round each side up, so the last column and row hold only
// part of a pixel's worth: the extent is the stored size over the divisor.
// A shrink by any other factor fills its pixels whole.
PixelExtent shrunkExtent(const ImageSize& stored, const ImageSize& decoded);

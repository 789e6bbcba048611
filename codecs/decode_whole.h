#pragma once

#include "codecs/picture_decoder.h"
#include "pixels/pixel_view.h"
#include "settings/image_size.h"

// start and readPixels of a decoder whose head is read, into a buffer of
// its own, which is left empty on any failure.
DecodeStatus decodeWhole(PictureDecoder& decoder, const ImageSize& smallest, PixelBuffer& pixels);

#pragma once

#include <cstdint>
#include <vector>

#include "codecs/picture_decoder.h"
#include "pixels/pixel_view.h"

// The pixels (grey, BGR, or BGRA with straight alpha) as a TIFF file by
// Windows' own encoder, or as a GIF of at most 256 colours, keeping
// sourcePalette where it can show them; with the colour profile where the
// encoder takes one. False for any other kind, or when an encoder fails.
bool encodeWithWic(PictureKind kind, const PixelView& pixels, const std::vector<uint8_t>& colourProfile,
                   const std::vector<uint32_t>& sourcePalette, std::vector<uint8_t>& file);

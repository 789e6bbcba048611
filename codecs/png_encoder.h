#pragma once

#include <cstdint>
#include <vector>

#include "codecs/picture_decoder.h"
#include "pixels/pixel_view.h"

// The pixels (grey, BGR, or BGRA with straight alpha) as a PNG file of 8 bits
// a channel by libspng, with the metadata's profile as iCCP, its Exif TIFF
// block as eXIf and its XMP packet as the iTXt chunk readers look for; a
// block PNG cannot hold as it is (an Exif block that is not TIFF) is left
// out. False, with `file` empty, when there are no pixels or memory runs out.
bool encodePng(const PixelView& pixels, const PictureMetadata& metadata, std::vector<uint8_t>& file);

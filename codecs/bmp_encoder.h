#pragma once

#include <cstdint>
#include <vector>

#include "pixels/pixel_view.h"

// The pixels (grey, BGR, or BGRA with straight alpha) as a Windows bitmap:
// 24 bits a pixel, or 32 with alpha in a version-5 header's bit fields, as
// Windows' own encoder writes when asked to keep alpha, so that transparent
// areas stay transparent. A colour profile goes in the version-5 header's
// embedded profile. False, with `file` empty, when there are no pixels, the
// file would pass the format's 4 GB, or memory runs out.
bool encodeBmp(const PixelView& pixels, const std::vector<uint8_t>& colourProfile, std::vector<uint8_t>& file);

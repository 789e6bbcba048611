#pragma once

#include <cstdint>
#include <vector>

#include "codecs/picture_decoder.h"

// The channels a copy of the kind holds for pixels of `channels`: grey stays
// one channel in JPEG, PNG and TIFF, while BMP, GIF and WebP hold colour only.
int32_t copyChannels(PictureKind kind, int32_t channels);

// Whether an ICC profile can describe a copy's pixels of `channels`, by the
// colour space its header names (bytes 16 to 19): a grey profile grey pixels,
// an RGB one colour pixels. A profile of inks (a CMYK JPEG's copy is in
// colours) or of any other space, or one too short to say, describes none:
// viewers reject or misread a profile that does not fit, so none is better.
bool profileFitsPixels(const std::vector<uint8_t>& profile, int32_t channels);

#pragma once

#include <cstdint>
#include <vector>

#include "codecs/picture_decoder.h"
#include "pixels/pixel_view.h"

constexpr int kWebpQuality = 90;
// The longest side libwebp writes.
constexpr int32_t kWebpLargestSide = 16383;

// The pixels (grey, BGR, or BGRA with straight alpha) as a WebP file: lossy
// at the quality (1 to 100), its alpha kept where a pixel is transparent, or lossless
// when asked; the metadata's blocks as ICCP, EXIF (the TIFF block as it is)
// and XMP chunks. False, with `file` empty, when the pixels cannot be written
// (no pixels, or a side over 16383) or memory runs out.
bool encodeWebp(const PixelView& pixels, const PictureMetadata& metadata, bool lossless, std::vector<uint8_t>& file,
                int quality = kWebpQuality);

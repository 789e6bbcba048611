#pragma once

#include <cstdint>
#include <vector>

#include "codecs/jpeg_segment.h"
#include "pixels/pixel_view.h"

constexpr int kJpegQuality = 95;

// The pixels (BGR, or BGRA laid over white) as a baseline JPEG file at
// quality 95 with 4:2:0 chroma and optimised Huffman tables, the segments
// written right after the start in their order. False when memory runs out.
bool encodeJpeg(const PixelView& pixels, const JpegSegments& segments, std::vector<uint8_t>& file);

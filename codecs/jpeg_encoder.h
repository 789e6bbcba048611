#pragma once

#include <cstdint>
#include <vector>

#include "codecs/jpeg_segment.h"
#include "pixels/pixel_view.h"

constexpr int kJpegQuality = 95;
// The longest side libjpeg writes.
constexpr int32_t kJpegLargestSide = 65500;

// The pixels (grey, BGR, or BGRA laid over white) as a baseline JPEG file at
// the quality (1 to 100), colour with 4:2:0 chroma, grey with its one channel, and
// optimised Huffman tables, the segments
// written right after the start in their order (no JFIF segment when one of
// them is Exif). False when the pixels or a segment cannot be written (too
// big, or not an application segment or comment) or memory runs out.
bool encodeJpeg(const PixelView& pixels, const JpegSegments& segments, std::vector<uint8_t>& file,
                int quality = kJpegQuality);

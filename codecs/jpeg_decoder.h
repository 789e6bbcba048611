#pragma once

#include <cstdint>
#include <memory>

#include "codecs/byte_source.h"
#include "codecs/jpeg_segment.h"
#include "pixels/pixel_view.h"
#include "settings/image_size.h"

enum class JpegStatus {
    Decoded,
    NotForThisDecoder,  // not a JPEG, or one libjpeg-turbo refuses (CMYK/YCCK, 12-bit, lossless...)
    Corrupt,            // ends early or its compressed data is damaged
    OutOfMemory,
};

// One JPEG decoded by libjpeg-turbo: first its header, then its pixels as
// 3-channel BGR, scaled down by its inverse DCT where the copy allows. Never
// exits or prints; every failure is a status.
class JpegDecoder {
public:
    JpegDecoder();
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    // Reads up to the first scan, once; Decoded when it did. The source must
    // outlive the decoder.
    JpegStatus readHeader(ByteSource& source);
    // The stored size, and the APP1 and APP2 segments of the head in file order.
    ImageSize storedSize() const;
    const JpegSegments& segments() const;

    // Decodes at the smallest 1/N (N = 1, 2, 4, 8) whose result is still at
    // least `smallest` both ways (the full size when no such scale shrinks),
    // once, after the header. pixels is left empty on any failure.
    JpegStatus decode(const ImageSize& smallest, PixelBuffer& pixels);

private:
    struct State;
    std::unique_ptr<State> state_;
};

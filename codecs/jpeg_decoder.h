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
    Corrupt,            // its header is damaged, it ends early or its compressed data is damaged
    TooLarge,           // it needs more working memory than any photo does
    OutOfMemory,
};

// Told after every few rows decoded how many rows from the top hold their pixels.
struct RowsDecoded {
    void (*tell)(void* context, int32_t rows);
    void* context;
};

// One JPEG decoded by libjpeg-turbo: first its header, then its pixels as
// grey, or BGR for colour, scaled down by its inverse DCT where the copy
// allows. Never exits or prints; every failure is a status.
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

    // After the header, once: starts the decoding at the smallest 1/N (N = 1,
    // 2, 4, 8) whose result is still at least `smallest` both ways (the full
    // size when no such scale shrinks). A progressive file is read whole here.
    JpegStatus start(const ImageSize& smallest);
    // Once started: the size and channels (1 or 3) of the decoded pixels, and
    // how much of the picture they stand for, which is less than their size
    // where the last 1/N block is cut short.
    ImageSize decodedSize() const;
    int32_t channels() const;
    PixelExtent decodedExtent() const;
    // Once started: fills `pixels`, of the decoded size and channels, from the
    // top, telling `decoded` (if given) along the way.
    JpegStatus readPixels(const MutablePixelView& pixels, const RowsDecoded* decoded);

    // start and readPixels into a buffer of its own, which is left empty on any failure.
    JpegStatus decode(const ImageSize& smallest, PixelBuffer& pixels);

private:
    struct State;
    std::unique_ptr<State> state_;
};

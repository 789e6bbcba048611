#pragma once

#include <cstdint>
#include <memory>

#include "codecs/byte_source.h"
#include "codecs/jpeg_segment.h"
#include "codecs/picture_decoder.h"
#include "pixels/pixel_view.h"
#include "settings/image_size.h"

// One JPEG decoded by libjpeg-turbo: first its header, then its pixels as
// grey, or BGR for colour, scaled down by its inverse DCT where the copy
// allows. Never exits or prints; every failure is a status.
class JpegDecoder : public PictureDecoder {
public:
    JpegDecoder();
    ~JpegDecoder() override;
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    // Reads up to the first scan, once; Decoded when it did. The source must
    // outlive the decoder.
    DecodeStatus readHeader(ByteSource& source);
    // The APP1 and APP2 segments of the head in file order, which a JPEG copy keeps as they are.
    const JpegSegments& segments() const;

    PictureKind kind() const override { return PictureKind::Jpeg; }
    ImageSize storedSize() const override;
    int orientation() const override;
    const PictureMetadata& metadata() const override;

    // After the header, once: starts the decoding at the smallest 1/N (N = 1,
    // 2, 4, 8) whose result is still at least `smallest` both ways (the full
    // size when no such scale shrinks). A progressive file is read whole here.
    DecodeStatus start(const ImageSize& smallest) override;
    // Once started: the size and channels (1 or 3) of the decoded pixels, and
    // how much of the picture they stand for, which is less than their size
    // where the last 1/N block is cut short.
    ImageSize decodedSize() const override;
    int32_t channels() const override;
    PixelExtent decodedExtent() const override;
    // Once started: fills `pixels`, of the decoded size and channels, from the
    // top, telling `decoded` (if given) along the way.
    DecodeStatus readPixels(const MutablePixelView& pixels, const RowsDecoded* decoded) override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

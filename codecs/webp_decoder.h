#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "codecs/byte_source.h"
#include "codecs/picture_decoder.h"
#include "pixels/pixel_view.h"
#include "settings/image_size.h"

// The bytes a WebP file starts with: "RIFF", its size, "WEBP".
constexpr size_t kWebpSignatureBytes = 12;

bool isWebpSignature(const uint8_t* bytes, size_t count);

// One WebP decoded by libwebp from memory: a still, or an animation's first
// frame on its canvas, as BGR, or BGRA where anything is transparent, scaled
// down by libwebp as it decodes. Never throws; every failure is a status.
class WebpDecoder : public PictureDecoder {
public:
    WebpDecoder();
    ~WebpDecoder() override;
    WebpDecoder(const WebpDecoder&) = delete;
    WebpDecoder& operator=(const WebpDecoder&) = delete;

    // Reads the whole file (1 GiB at most), its chunks and its first frame's
    // header, once; Decoded when it did. The source is not needed after.
    DecodeStatus readHeader(ByteSource& source);
    // Whether the first frame is stored lossless, so that a copy can be too.
    bool isLossless() const override;

    PictureKind kind() const override { return PictureKind::WebP; }
    // The canvas, for an animation.
    ImageSize storedSize() const override;
    int orientation() const override;
    const PictureMetadata& metadata() const override;

    // After the header, once: decodes at the smallest size of the stored
    // proportions that is at least `smallest` both ways, never larger than stored.
    DecodeStatus start(const ImageSize& smallest) override;
    ImageSize decodedSize() const override;
    int32_t channels() const override;
    PixelExtent decodedExtent() const override;
    // Once started: fills `pixels`, of the decoded size and channels and with
    // rows that run downward, telling `decoded` the rows libwebp has finished.
    DecodeStatus readPixels(const MutablePixelView& pixels, const RowsDecoded* decoded) override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

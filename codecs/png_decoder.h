#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "codecs/byte_source.h"
#include "codecs/picture_decoder.h"
#include "pixels/pixel_view.h"
#include "settings/image_size.h"

// The eight bytes every PNG file starts with.
constexpr size_t kPngSignatureBytes = 8;

bool isPngSignature(const uint8_t* bytes, size_t count);

// One PNG decoded by libspng as it is read: grey (8 bits or fewer, without a
// transparent colour), BGR, or BGRA with straight alpha wherever the file
// has alpha or a transparent colour; always at its stored size, since PNG
// holds no smaller one. Never throws; every failure is a status.
class PngDecoder : public PictureDecoder {
public:
    PngDecoder();
    ~PngDecoder() override;
    PngDecoder(const PngDecoder&) = delete;
    PngDecoder& operator=(const PngDecoder&) = delete;

    // Reads the chunks before the image data, once; Decoded when it did. The
    // source must outlive the decoder.
    DecodeStatus readHeader(ByteSource& source);

    PictureKind kind() const override { return PictureKind::Png; }
    ImageSize storedSize() const override;
    // From its eXIf chunk, as browsers show it.
    int orientation() const override;
    const PictureMetadata& metadata() const override;

    DecodeStatus start(const ImageSize& smallest) override;
    ImageSize decodedSize() const override;
    int32_t channels() const override;
    PixelExtent decodedExtent() const override;
    // Once started: fills `pixels`, of the stored size and the channels,
    // telling `decoded` the rows as they come (an interlaced file's only
    // once whole).
    DecodeStatus readPixels(const MutablePixelView& pixels, const RowsDecoded* decoded) override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

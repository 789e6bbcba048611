#pragma once

#include <cstdint>
#include <vector>

#include "codecs/picture_decoder.h"
#include "codecs/wic_factory.h"
#include "codecs/wic_source_transform.h"

// A picture decoded by WIC, the Windows Imaging Component, with whatever
// codec Windows has for its content: frame 0, as BGR, or BGRA with straight
// alpha where its pixel format can be transparent, at the smallest size its
// decoder offers that is no smaller than the copy needs.
class WicDecoder : public PictureDecoder {
public:
    // Reads the file's head once; Decoded when a codec took it.
    DecodeStatus open(const wchar_t* path);
    // The palette of an indexed frame as 0xAARRGGBB colours; empty for any other.
    const std::vector<uint32_t>& palette() const { return palette_; }

    PictureKind kind() const override { return kind_; }
    ImageSize storedSize() const override { return stored_; }
    int orientation() const override { return orientation_; }
    const PictureMetadata& metadata() const override { return metadata_; }
    DecodeStatus start(const ImageSize& smallest) override;
    ImageSize decodedSize() const override { return decoded_; }
    int32_t channels() const override { return channels_; }
    PixelExtent decodedExtent() const override;
    DecodeStatus readPixels(const MutablePixelView& pixels, const RowsDecoded* decoded) override;

private:
    DecodeStatus readHead();
    DecodeStatus boundedDecode() const;

    ComPtr<IWICBitmapDecoder> decoder_;
    ComPtr<IWICBitmapFrameDecode> frame_;
    // Set by start where the decoder shrinks as it decodes.
    ComPtr<IWICBitmapSourceTransform> shrinking_;
    PictureKind kind_ = PictureKind::Other;
    ImageSize stored_;
    ImageSize decoded_;
    int orientation_ = 1;
    int32_t channels_ = 3;
    PictureMetadata metadata_;
    std::vector<uint32_t> palette_;
    bool started_ = false;
};

#pragma once

#include <cstdint>
#include <vector>

#include "codecs/jpeg_segment.h"
#include "pixels/pixel_view.h"
#include "settings/image_size.h"

enum class DecodeStatus {
    Decoded,
    NotForThisDecoder,  // not this decoder's kind, or a form of it the decoder refuses
    Corrupt,            // its header is damaged, it ends early or its compressed data is damaged
    TooLarge,           // it needs more than any photo does
    OutOfMemory,
    NoInstalledCodec,   // a kind Windows knows, but no installed codec decodes it
};

// Decoders hand out their pixels whole, so a header that claims more than
// this (a 37,000-pixel square of BGR) is refused before any memory is taken
// for it.
constexpr uint64_t kMostDecodedBytes = UINT32_MAX;

inline bool passesDecodedBound(uint32_t width, uint32_t height, uint32_t channels)
{
    return uint64_t{width} * height * channels > kMostDecodedBytes;
}

// The kinds of picture a copy can be written as; Other gives a JPEG copy, or
// a PNG one where a pixel is transparent.
enum class PictureKind { Jpeg, Png, Gif, Bmp, Tiff, WebP, Other };

// What a copy keeps of its source, in the form every encoder takes: each is
// whole, or empty when the source holds none.
struct PictureMetadata {
    std::vector<uint8_t> colourProfile;  // an ICC profile
    std::vector<uint8_t> exif;           // the TIFF block that follows "Exif\0\0"
    std::vector<uint8_t> xmp;            // an XMP packet
    // A JPEG's own APP1 and APP2 segments, which a JPEG copy keeps as they
    // are (the profile in its chunks, an XMP extension); empty for others.
    JpegSegments jpegSegments;
};

// Told after every few rows decoded how many rows from the top hold their pixels.
struct RowsDecoded {
    void (*tell)(void* context, int32_t rows);
    void* context;
};

// One picture file being decoded, after its decoder has read its head: the
// stored size and orientation and what a copy keeps are known; the pixels
// come at a size no smaller than the copy needs. Never throws.
class PictureDecoder {
public:
    virtual ~PictureDecoder() = default;

    virtual PictureKind kind() const = 0;
    // As stored, before the Exif orientation (1 to 8) turns it.
    virtual ImageSize storedSize() const = 0;
    virtual int orientation() const = 0;
    virtual const PictureMetadata& metadata() const = 0;
    // Whether a copy of the same kind is to be lossless, as its source is, for
    // kinds that hold either (WebP).
    virtual bool isLossless() const { return false; }

    // Once: starts decoding at the smallest size the format can shrink to
    // cheaply that is still at least `smallest` both ways.
    virtual DecodeStatus start(const ImageSize& smallest) = 0;
    // Once started: the size and channels (1 grey, 3 BGR, 4 BGRA with straight
    // alpha) of the pixels, and how much of the picture they stand for.
    virtual ImageSize decodedSize() const = 0;
    virtual int32_t channels() const = 0;
    virtual PixelExtent decodedExtent() const = 0;
    // Once started: fills `pixels`, of that size and channels, from the top,
    // telling `decoded` (if given) along the way.
    virtual DecodeStatus readPixels(const MutablePixelView& pixels, const RowsDecoded* decoded) = 0;
};

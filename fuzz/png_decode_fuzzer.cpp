// Any bytes through the PNG decoder: the file, then its pixels, with no crash
// or leak whatever the bytes. What decodes is the stored size, grey, BGR or
// BGRA, and a small picture encodes again with its metadata, the blocks PNG
// holds reading back the same, as do its pixels, byte for byte.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/decode_whole.h"
#include "codecs/png_decoder.h"
#include "codecs/png_encoder.h"
#include "fuzz/fuzz_support.h"

namespace {

// The work of a decode follows the stored size.
constexpr int64_t kMaxStoredPixels = 1 << 20;
constexpr int64_t kMaxEncodedPixels = 1 << 16;

bool isTiffBlock(const std::vector<uint8_t>& exif)
{
    static const uint8_t kIntel[] = {'I', 'I', 42, 0};
    static const uint8_t kMotorola[] = {'M', 'M', 0, 42};
    return exif.size() >= 4 &&
           (std::equal(kIntel, kIntel + 4, exif.begin()) || std::equal(kMotorola, kMotorola + 4, exif.begin()));
}

bool sameRows(const PixelView& a, const PixelView& b)
{
    if (a.width != b.width || a.height != b.height || a.channels != b.channels) return false;
    const size_t bytes = static_cast<size_t>(a.width) * static_cast<size_t>(a.channels);
    for (int32_t y = 0; y < a.height; ++y)
        if (!std::equal(a.row(y), a.row(y) + bytes, b.row(y))) return false;
    return true;
}

void requireEncodesAgain(const PixelView& pixels, const PictureMetadata& metadata)
{
    std::vector<uint8_t> file;
    require(encodePng(pixels, metadata, file), "decoded pixels and their metadata encode");
    MemorySource source(file.data(), file.size());
    PngDecoder decoder;
    require(decoder.readHeader(source) == DecodeStatus::Decoded, "the copy's header reads");
    const PictureMetadata& again = decoder.metadata();
    require(again.colourProfile == metadata.colourProfile, "the copy's profile reads back byte for byte");
    // eXIf holds a TIFF block only.
    require(again.exif == (isTiffBlock(metadata.exif) ? metadata.exif : std::vector<uint8_t>()),
            "so does its Exif block, where PNG holds it");
    require(again.xmp == metadata.xmp, "and its XMP packet");
    PixelBuffer copy;
    require(decodeWhole(decoder, decoder.storedSize(), copy) == DecodeStatus::Decoded, "the copy decodes");
    require(sameRows(copy.view(), pixels), "to the same pixels");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    MemorySource source(bytes, size);
    PngDecoder decoder;
    if (decoder.readHeader(source) != DecodeStatus::Decoded) return 0;
    const ImageSize stored = decoder.storedSize();
    require(stored.width > 0 && stored.height > 0, "a read header has a size");
    const int orientation = decoder.orientation();
    require(orientation >= 1 && orientation <= 8, "the orientation is one of Exif's");
    if (static_cast<int64_t>(stored.width) * stored.height > kMaxStoredPixels) return 0;

    PixelBuffer pixels;
    const DecodeStatus status = decodeWhole(decoder, {1, 1}, pixels);
    const PixelView view = pixels.view();
    if (status != DecodeStatus::Decoded) {
        require(view.pixels == nullptr, "a failed decode leaves no pixels");
        return 0;
    }
    require(view.isValid() && view.channels == decoder.channels() &&
                (view.channels == 1 || view.channels == 3 || view.channels == 4),
            "decoded pixels are grey, BGR or BGRA");
    require(view.width == stored.width && view.height == stored.height, "at the stored size");
    if (static_cast<int64_t>(view.width) * view.height <= kMaxEncodedPixels)
        requireEncodesAgain(view, decoder.metadata());
    return 0;
}

// Any bytes through the WebP decoder: the file, then the pixels at a size the
// input's length picks, with no crash or leak whatever the bytes. What
// decodes is the smallest size asked for within the stored one, and a small
// picture encodes again with its metadata, which then reads back the same, as
// do its visible pixels when it was lossless.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/decode_whole.h"
#include "codecs/webp_decoder.h"
#include "codecs/webp_encoder.h"
#include "fuzz/fuzz_support.h"

namespace {

// The work of a decode follows the stored size, whatever the scale.
constexpr int64_t kMaxStoredPixels = 1 << 20;
constexpr int64_t kMaxEncodedPixels = 1 << 16;

int64_t area(int32_t width, int32_t height)
{
    return static_cast<int64_t>(width) * height;
}

void requireSizeFor(const ImageSize& stored, const ImageSize& smallest, const PixelView& pixels)
{
    require(pixels.width <= stored.width && pixels.height <= stored.height, "never larger than stored");
    if (pixels.width == stored.width && pixels.height == stored.height) return;
    const int32_t width = std::max(smallest.width, 1);
    const int32_t height = std::max(smallest.height, 1);
    require(pixels.width >= width && pixels.height >= height, "a shrunk size is at least the one asked for");
    require(pixels.width == width || pixels.height == height, "and no larger than one side needs");
}

int alphaAt(const PixelView& pixels, int32_t x, int32_t y)
{
    return pixels.channels == 4 ? pixels.row(y)[x * 4 + 3] : 255;
}

// A lossless copy may change only the colour that full transparency hides.
void requireSameVisiblePixels(const PixelView& copy, const PixelView& pixels)
{
    for (int32_t y = 0; y < pixels.height; ++y)
        for (int32_t x = 0; x < pixels.width; ++x) {
            const int alpha = alphaAt(pixels, x, y);
            require(alphaAt(copy, x, y) == alpha, "a lossless copy keeps the alpha");
            if (alpha == 0) continue;
            const uint8_t* from = pixels.row(y) + x * pixels.channels;
            require(std::equal(from, from + 3, copy.row(y) + x * copy.channels), "and the colours shown");
        }
}

void requireEncodesAgain(const PixelView& pixels, const PictureMetadata& metadata, bool lossless)
{
    std::vector<uint8_t> file;
    require(encodeWebp(pixels, metadata, lossless, file), "decoded pixels and their metadata encode");
    MemorySource source(file.data(), file.size());
    WebpDecoder decoder;
    require(decoder.readHeader(source) == DecodeStatus::Decoded, "the copy's header reads");
    require(decoder.storedSize() == (ImageSize{pixels.width, pixels.height}), "the copy has the pixels' size");
    const PictureMetadata& again = decoder.metadata();
    require(again.colourProfile == metadata.colourProfile && again.exif == metadata.exif && again.xmp == metadata.xmp,
            "the copy's metadata reads back byte for byte");
    require(decoder.isLossless() == lossless, "a lossless picture's copy is lossless");
    PixelBuffer copy;
    require(decodeWhole(decoder, decoder.storedSize(), copy) == DecodeStatus::Decoded, "the copy decodes");
    if (lossless) requireSameVisiblePixels(copy.view(), pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    MemorySource source(bytes, size);
    WebpDecoder decoder;
    if (decoder.readHeader(source) != DecodeStatus::Decoded) return 0;
    const ImageSize stored = decoder.storedSize();
    require(stored.width > 0 && stored.height > 0 && stored.width <= kWebpLargestSide &&
                stored.height <= kWebpLargestSide,
            "a read header has a size WebP holds");
    const int orientation = decoder.orientation();
    require(orientation >= 1 && orientation <= 8, "the orientation is one of Exif's");
    if (area(stored.width, stored.height) > kMaxStoredPixels) return 0;

    const ImageSize smallest = {stored.width >> (size % 5), stored.height >> (size / 5 % 5)};
    PixelBuffer pixels;
    const DecodeStatus status = decodeWhole(decoder, smallest, pixels);
    const PixelView view = pixels.view();
    if (status != DecodeStatus::Decoded) {
        require(view.pixels == nullptr, "a failed decode leaves no pixels");
        return 0;
    }
    require(view.isValid() && view.channels == decoder.channels() && (view.channels == 3 || view.channels == 4),
            "decoded pixels are BGR or BGRA");
    requireSizeFor(stored, smallest, view);
    if (area(view.width, view.height) <= kMaxEncodedPixels)
        requireEncodesAgain(view, decoder.metadata(), decoder.isLossless());
    return 0;
}

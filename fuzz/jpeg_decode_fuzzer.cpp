// Any bytes through the JPEG decoder: a header, then the pixels at a size the
// input's length picks, with no exit, crash or leak whatever the bytes. What
// decodes has the size of one inverse-DCT scale, and a small picture encodes
// again with its segments, which then read back the same.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/decode_whole.h"
#include "codecs/jpeg_decoder.h"
#include "codecs/jpeg_encoder.h"
#include "fuzz/fuzz_support.h"

namespace {

// The work of a decode follows the stored size, whatever the scale.
constexpr int64_t kMaxStoredPixels = 1 << 20;
constexpr int64_t kMaxEncodedPixels = 1 << 16;

int64_t area(int32_t width, int32_t height)
{
    return static_cast<int64_t>(width) * height;
}

int32_t scaled(int32_t length, int32_t denominator)
{
    return (length + denominator - 1) / denominator;
}

// The decoded size is the stored one at 1/1, 1/2, 1/4 or 1/8, the smallest still at least `smallest`.
void requireScaleOf(const ImageSize& stored, const ImageSize& smallest, const PixelView& pixels)
{
    int32_t denominator = 8;
    while (denominator > 1 &&
           (scaled(stored.width, denominator) < smallest.width || scaled(stored.height, denominator) < smallest.height))
        denominator /= 2;
    require(pixels.width == scaled(stored.width, denominator) && pixels.height == scaled(stored.height, denominator),
            "the decoded size is the smallest scale at least as large as asked");
}

void requireEncodesAgain(const PixelView& pixels, const JpegSegments& segments)
{
    std::vector<uint8_t> file;
    require(encodeJpeg(pixels, segments, file), "decoded pixels and their segments encode");
    MemorySource source(file.data(), file.size());
    JpegDecoder decoder;
    require(decoder.readHeader(source) == DecodeStatus::Decoded, "the copy's header reads");
    require(decoder.storedSize() == (ImageSize{pixels.width, pixels.height}), "the copy has the pixels' size");
    require(decoder.segments().size() == segments.size(), "the copy has the same segments");
    for (size_t i = 0; i < segments.size(); ++i)
        require(decoder.segments()[i].marker == segments[i].marker && decoder.segments()[i].data == segments[i].data,
                "each segment reads back byte for byte");
    PixelBuffer again;
    require(decodeWhole(decoder, decoder.storedSize(), again) == DecodeStatus::Decoded, "the copy decodes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    MemorySource source(bytes, size);
    JpegDecoder decoder;
    if (decoder.readHeader(source) != DecodeStatus::Decoded) return 0;
    const ImageSize stored = decoder.storedSize();
    require(stored.width > 0 && stored.height > 0, "a read header has a size");
    for (const JpegSegment& segment : decoder.segments())
        require(segment.marker == 0xE1 || segment.marker == 0xE2, "only APP1 and APP2 are kept");
    if (area(stored.width, stored.height) > kMaxStoredPixels) return 0;

    const ImageSize smallest = {stored.width >> (size % 5), stored.height >> (size / 5 % 5)};
    PixelBuffer pixels;
    const DecodeStatus status = decodeWhole(decoder, smallest, pixels);
    const PixelView view = pixels.view();
    if (status != DecodeStatus::Decoded) {
        require(view.pixels == nullptr, "a failed decode leaves no pixels");
        return 0;
    }
    require(view.isValid() && (view.channels == 1 || view.channels == 3), "decoded pixels are grey or BGR");
    requireScaleOf(stored, smallest, view);
    if (area(view.width, view.height) <= kMaxEncodedPixels) requireEncodesAgain(view, decoder.segments());
    return 0;
}

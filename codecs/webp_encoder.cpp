#include "codecs/webp_encoder.h"

#include <climits>
#include <memory>
#include <new>

#include <webp/encode.h>
#include <webp/mux.h>

namespace {

static_assert(kWebpLargestSide == WEBP_MAX_DIMENSION, "the side libwebp writes");

// libwebp's least effort for a lossy copy: its default of 4 takes three times
// as long for one of e-mail size, for a file about 5% smaller of the same
// PSNR. A lossless copy keeps the default, whose files are much smaller.
constexpr int kLossyMethod = 0;
constexpr int kLosslessMethod = 4;

struct Picture {
    WebPPicture picture = {};
    bool ready = WebPPictureInit(&picture) != 0;
    Picture() = default;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    ~Picture() { WebPPictureFree(&picture); }
};

// A libwebp struct between its init and clear functions.
template <typename T, void (*Init)(T*), void (*Clear)(T*)>
struct Initialised {
    T value;
    Initialised() { Init(&value); }
    Initialised(const Initialised&) = delete;
    Initialised& operator=(const Initialised&) = delete;
    ~Initialised() { Clear(&value); }
};
using MemoryWriter = Initialised<WebPMemoryWriter, WebPMemoryWriterInit, WebPMemoryWriterClear>;
using AssembledData = Initialised<WebPData, WebPDataInit, WebPDataClear>;

struct MuxDeleter {
    void operator()(WebPMux* mux) const { WebPMuxDelete(mux); }
};

// The pixels as a bare WebP file, the way `config` asks.
bool encodePixels(const PixelView& pixels, const WebPConfig& config, MemoryWriter& output)
{
    Picture picture;
    if (!picture.ready) return false;
    WebPPicture& target = picture.picture;
    target.width = pixels.width;
    target.height = pixels.height;
    // Lossless takes ARGB as it is; lossy, YUV made from it as it is imported.
    target.use_argb = config.lossless;
    const ptrdiff_t stride = pixels.stride;
    if (stride > INT_MAX || stride < -INT_MAX) return false;
    const int imported = pixels.channels == 4 ? WebPPictureImportBGRA(&target, pixels.pixels, static_cast<int>(stride))
                                              : WebPPictureImportBGR(&target, pixels.pixels, static_cast<int>(stride));
    if (!imported) return false;
    target.writer = WebPMemoryWrite;
    target.custom_ptr = &output.value;
    return WebPEncode(&config, &target) != 0;
}

// The image with the metadata's chunks; the mux sets the flags that announce them.
bool withMetadata(const WebPData& image, const PictureMetadata& metadata, std::vector<uint8_t>& file)
{
    const std::unique_ptr<WebPMux, MuxDeleter> mux(WebPMuxCreate(&image, 0));
    if (!mux) return false;
    const struct {
        const char* fourcc;
        const std::vector<uint8_t>& bytes;
    } chunks[] = {{"ICCP", metadata.colourProfile}, {"EXIF", metadata.exif}, {"XMP ", metadata.xmp}};
    for (const auto& chunk : chunks) {
        if (chunk.bytes.empty()) continue;
        const WebPData data = {chunk.bytes.data(), chunk.bytes.size()};
        if (WebPMuxSetChunk(mux.get(), chunk.fourcc, &data, 0) != WEBP_MUX_OK) return false;
    }
    AssembledData assembled;
    if (WebPMuxAssemble(mux.get(), &assembled.value) != WEBP_MUX_OK) return false;
    file.assign(assembled.value.bytes, assembled.value.bytes + assembled.value.size);
    return true;
}

bool encodeInto(const PixelView& pixels, const PictureMetadata& metadata, bool lossless, int quality,
                std::vector<uint8_t>& file)
{
    if (!pixels.isValid() || pixels.width > kWebpLargestSide || pixels.height > kWebpLargestSide) return false;
    PixelBuffer colour;
    if (pixels.channels == 1 && !expandGreyToBgr(pixels, colour)) return false;
    WebPConfig config;
    if (!WebPConfigInit(&config)) return false;
    config.quality = static_cast<float>(quality);
    config.method = lossless ? kLosslessMethod : kLossyMethod;
    config.lossless = lossless;
    // Left off: the colour under a fully transparent pixel may change, as nothing shows it.
    config.exact = 0;
    MemoryWriter output;
    if (!encodePixels(pixels.channels == 1 ? colour.view() : pixels, config, output)) return false;
    const WebPData image = {output.value.mem, output.value.size};
    if (metadata.colourProfile.empty() && metadata.exif.empty() && metadata.xmp.empty()) {
        file.assign(image.bytes, image.bytes + image.size);
        return true;
    }
    return withMetadata(image, metadata, file);
}

}  // namespace

bool encodeWebp(const PixelView& pixels, const PictureMetadata& metadata, bool lossless, std::vector<uint8_t>& file,
                int quality)
{
    // Filled only once whole, so a failure leaves it empty.
    file.clear();
    if (quality < 1 || quality > 100) return false;
    try {
        return encodeInto(pixels, metadata, lossless, quality, file);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

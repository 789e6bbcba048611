#include "codecs/webp_decoder.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include <webp/decode.h>
#include <webp/demux.h>
#include <webp/encode.h>

#include "codecs/decoder_phase.h"
#include "codecs/exif_orientation.h"

namespace {

// libwebp decodes from memory; no photo's file comes near this.
constexpr uint64_t kMostFileBytes = uint64_t{1} << 30;
// The longest side libwebp writes, which also keeps a canvas under 2^28
// pixels; only a crafted file claims more.
constexpr int32_t kLargestSide = WEBP_MAX_DIMENSION;
// The file is read in growing steps, so a header that claims much more than
// the file holds costs little.
constexpr size_t kFirstRead = size_t{1} << 16;
// Some writers start the EXIF chunk as a JPEG's Exif segment starts, before
// the TIFF block's byte order and 42.
constexpr uint8_t kExifPrefix[] = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint8_t kIntelTiff[] = {'I', 'I', 42, 0};
constexpr uint8_t kMotorolaTiff[] = {'M', 'M', 0, 42};
constexpr int kLossless = 2;  // WebPBitstreamFeatures::format
// The compressed bytes handed to libwebp at a time, after each of which the
// rows it has finished go to the resampler.
constexpr size_t kBytesPerAppend = size_t{1} << 16;

struct Rect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct DemuxDeleter {
    void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};
using DemuxOwner = std::unique_ptr<WebPDemuxer, DemuxDeleter>;

DecodeStatus statusOf(VP8StatusCode code)
{
    switch (code) {
    case VP8_STATUS_OK:
        return DecodeStatus::Decoded;
    case VP8_STATUS_OUT_OF_MEMORY:
        return DecodeStatus::OutOfMemory;
    case VP8_STATUS_UNSUPPORTED_FEATURE:
        return DecodeStatus::NotForThisDecoder;
    default:  // a damaged bitstream, or one cut short
        return DecodeStatus::Corrupt;
    }
}

// The RIFF chunk whole, as long as its header says: a file that ends before is cut short.
DecodeStatus readRiff(ByteSource& source, std::vector<uint8_t>& file)
{
    uint8_t head[kWebpSignatureBytes];
    const size_t headBytes = readFully(source, head, sizeof head);
    if (!isWebpSignature(head, headBytes)) return DecodeStatus::NotForThisDecoder;
    const uint64_t size = 8 + (uint64_t{head[4]} | uint64_t{head[5]} << 8 | uint64_t{head[6]} << 16 |
                               uint64_t{head[7]} << 24);
    if (size > kMostFileBytes) return DecodeStatus::TooLarge;
    file.assign(head, head + headBytes);
    while (file.size() < size) {
        const size_t have = file.size();
        file.resize(static_cast<size_t>(std::min<uint64_t>(size, std::max(have * 2, kFirstRead))));
        if (readFully(source, file.data() + have, file.size() - have) < file.size() - have)
            return DecodeStatus::Corrupt;
    }
    return DecodeStatus::Decoded;
}

bool startsWith(const std::vector<uint8_t>& bytes, size_t at, const uint8_t* start, size_t count)
{
    return bytes.size() >= at + count && std::equal(start, start + count, bytes.begin() + static_cast<ptrdiff_t>(at));
}

// The TIFF block whole, however the chunk starts it; a prefix that no TIFF
// header follows stays, so that the block reads back the same once written again.
void dropExifPrefix(std::vector<uint8_t>& exif)
{
    constexpr size_t kPrefix = sizeof kExifPrefix;
    if (startsWith(exif, 0, kExifPrefix, kPrefix) &&
        (startsWith(exif, kPrefix, kIntelTiff, sizeof kIntelTiff) ||
         startsWith(exif, kPrefix, kMotorolaTiff, sizeof kMotorolaTiff)))
        exif.erase(exif.begin(), exif.begin() + kPrefix);
}

std::vector<uint8_t> chunkOf(const WebPDemuxer* demux, const char* fourcc)
{
    WebPChunkIterator chunk;
    if (!WebPDemuxGetChunk(demux, fourcc, 1, &chunk)) return {};
    const uint8_t* bytes = chunk.chunk.bytes;
    const size_t size = chunk.chunk.size;
    WebPDemuxReleaseChunkIterator(&chunk);
    return std::vector<uint8_t>(bytes, bytes + size);
}

// The smallest size of the stored proportions at least `smallest` both ways,
// the other side rounded up; the stored size where that would not shrink.
ImageSize scaledSize(const ImageSize& stored, const ImageSize& smallest)
{
    const int64_t width = std::max(smallest.width, 1);
    const int64_t height = std::max(smallest.height, 1);
    if (width >= stored.width || height >= stored.height) return stored;
    // The side that asks for the larger share of its stored length decides.
    if (width * stored.height >= height * stored.width)
        return {static_cast<int32_t>(width),
                static_cast<int32_t>((width * stored.height + stored.width - 1) / stored.width)};
    return {static_cast<int32_t>((height * stored.width + stored.height - 1) / stored.height),
            static_cast<int32_t>(height)};
}

// An edge of the frame where it stands once the canvas is scaled, to the nearest pixel.
int32_t scaledEdge(int32_t at, int32_t stored, int32_t decoded)
{
    return static_cast<int32_t>((int64_t{at} * decoded * 2 + stored) / (int64_t{stored} * 2));
}

// A pixel at least, however small the frame is scaled.
void keepOne(int32_t& from, int32_t& to, int32_t length)
{
    if (from < to) return;
    if (to < length)
        ++to;
    else
        --from;
}

}  // namespace

bool isWebpSignature(const uint8_t* bytes, size_t count)
{
    return count >= kWebpSignatureBytes && std::memcmp(bytes, "RIFF", 4) == 0 && std::memcmp(bytes + 8, "WEBP", 4) == 0;
}

struct WebpDecoder::State {
    std::vector<uint8_t> file;
    // The first frame's bitstream in the file, and where it stands on the canvas.
    size_t frameStart = 0;
    size_t frameBytes = 0;
    Rect frame;
    ImageSize canvas;
    int32_t channels = 3;
    bool lossless = false;
    PictureMetadata metadata;
    int orientation = 1;
    ImageSize decoded;
    DecoderPhase phase = DecoderPhase::Fresh;

    DecodeStatus parseFile();
    // The frame's rectangle on the decoded canvas.
    Rect decodedFrame() const;
};

DecodeStatus WebpDecoder::State::parseFile()
{
    const WebPData data = {file.data(), file.size()};
    const DemuxOwner demux(WebPDemux(&data));
    if (!demux) return DecodeStatus::Corrupt;
    const uint32_t width = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH);
    const uint32_t height = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT);
    if (width > kLargestSide || height > kLargestSide) return DecodeStatus::TooLarge;
    canvas = {static_cast<int32_t>(width), static_cast<int32_t>(height)};

    WebPIterator first;
    if (!WebPDemuxGetFrame(demux.get(), 1, &first)) return DecodeStatus::Corrupt;
    frame = {first.x_offset, first.y_offset, first.width, first.height};
    frameStart = static_cast<size_t>(first.fragment.bytes - file.data());
    frameBytes = first.fragment.size;
    WebPDemuxReleaseIterator(&first);
    WebPBitstreamFeatures features;
    const VP8StatusCode status = WebPGetFeatures(file.data() + frameStart, frameBytes, &features);
    if (status != VP8_STATUS_OK) return statusOf(status);
    lossless = features.format == kLossless;
    // An animation's canvas is transparent where its first frame leaves it.
    const bool coversCanvas = frame.width == canvas.width && frame.height == canvas.height;
    channels = features.has_alpha || !coversCanvas ? 4 : 3;

    metadata.colourProfile = chunkOf(demux.get(), "ICCP");
    metadata.exif = chunkOf(demux.get(), "EXIF");
    dropExifPrefix(metadata.exif);
    metadata.xmp = chunkOf(demux.get(), "XMP ");
    orientation = exifOrientation(metadata.exif.data(), metadata.exif.size());
    return DecodeStatus::Decoded;
}

Rect WebpDecoder::State::decodedFrame() const
{
    int32_t left = scaledEdge(frame.x, canvas.width, decoded.width);
    int32_t right = scaledEdge(frame.x + frame.width, canvas.width, decoded.width);
    int32_t top = scaledEdge(frame.y, canvas.height, decoded.height);
    int32_t bottom = scaledEdge(frame.y + frame.height, canvas.height, decoded.height);
    keepOne(left, right, decoded.width);
    keepOne(top, bottom, decoded.height);
    return {left, top, right - left, bottom - top};
}

WebpDecoder::WebpDecoder() : state_(new State) {}

WebpDecoder::~WebpDecoder() = default;

DecodeStatus WebpDecoder::readHeader(ByteSource& source)
{
    State& state = *state_;
    return readHeaderOnce(state, [&] {
        const DecodeStatus status = readRiff(source, state.file);
        return status == DecodeStatus::Decoded ? state.parseFile() : status;
    });
}

bool WebpDecoder::isLossless() const
{
    return state_->lossless;
}

ImageSize WebpDecoder::storedSize() const
{
    return state_->canvas;
}

int WebpDecoder::orientation() const
{
    return state_->orientation;
}

const PictureMetadata& WebpDecoder::metadata() const
{
    return state_->metadata;
}

DecodeStatus WebpDecoder::start(const ImageSize& smallest)
{
    State& state = *state_;
    if (state.phase != DecoderPhase::HeaderRead) return DecodeStatus::NotForThisDecoder;
    state.decoded = scaledSize(state.canvas, smallest);
    state.phase = DecoderPhase::Started;
    return DecodeStatus::Decoded;
}

ImageSize WebpDecoder::decodedSize() const
{
    return state_->decoded;
}

int32_t WebpDecoder::channels() const
{
    return state_->channels;
}

PixelExtent WebpDecoder::decodedExtent() const
{
    return {static_cast<double>(state_->decoded.width), static_cast<double>(state_->decoded.height)};
}

DecodeStatus WebpDecoder::readPixels(const MutablePixelView& pixels, const RowsDecoded* decoded)
{
    State& state = *state_;
    if (state.phase != DecoderPhase::Started) return DecodeStatus::NotForThisDecoder;
    state.phase = DecoderPhase::Done;
    // libwebp takes rows that run downward, as every buffer of the program's does.
    const ptrdiff_t stride = pixels.stride;
    if (!pixels.isValid() || pixels.width != state.decoded.width || pixels.height != state.decoded.height ||
        pixels.channels != state.channels || stride <= 0 || stride > INT_MAX)
        return DecodeStatus::NotForThisDecoder;

    const Rect frame = state.decodedFrame();
    if (frame.width != pixels.width || frame.height != pixels.height) {
        for (int32_t y = 0; y < pixels.height; ++y)
            std::memset(pixels.row(y), 0, static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.channels));
    }
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return DecodeStatus::NotForThisDecoder;
    config.options.use_scaling = frame.width != state.frame.width || frame.height != state.frame.height;
    config.options.scaled_width = frame.width;
    config.options.scaled_height = frame.height;
    WebPDecBuffer& output = config.output;
    output.colorspace = state.channels == 4 ? MODE_BGRA : MODE_BGR;
    output.is_external_memory = 1;
    config.options.use_threads = 1;
    output.u.RGBA.rgba = pixels.row(frame.y) + frame.x * pixels.channels;
    output.u.RGBA.stride = static_cast<int>(stride);
    output.u.RGBA.size = static_cast<size_t>(stride) * static_cast<size_t>(frame.height - 1) +
                         static_cast<size_t>(frame.width) * static_cast<size_t>(pixels.channels);
    // Fed in parts, so that the rows it finishes are resampled while it goes on.
    WebPIDecoder* incremental = WebPIDecode(nullptr, 0, &config);
    if (!incremental) return DecodeStatus::OutOfMemory;
    VP8StatusCode status = VP8_STATUS_SUSPENDED;
    for (size_t fed = 0; fed < state.frameBytes && status == VP8_STATUS_SUSPENDED;) {
        const size_t part = std::min(kBytesPerAppend, state.frameBytes - fed);
        status = WebPIAppend(incremental, state.file.data() + state.frameStart + fed, part);
        fed += part;
        int lastRow = 0;
        if (decoded && WebPIDecGetRGB(incremental, &lastRow, nullptr, nullptr, nullptr))
            decoded->tell(decoded->context, frame.y + lastRow);
    }
    WebPIDelete(incremental);
    WebPFreeDecBuffer(&output);
    // A file that ends while libwebp still waits for bytes is cut short.
    if (status == VP8_STATUS_SUSPENDED) status = VP8_STATUS_NOT_ENOUGH_DATA;
    state.file = std::vector<uint8_t>();
    if (status != VP8_STATUS_OK) return statusOf(status);
    if (decoded) decoded->tell(decoded->context, pixels.height);
    return DecodeStatus::Decoded;
}

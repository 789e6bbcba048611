#include "codecs/png_decoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include <spng.h>

#include "codecs/decoder_phase.h"
#include "codecs/exif_orientation.h"
#include "codecs/exif_patch.h"
#include "codecs/xmp_orientation.h"

namespace {

constexpr uint8_t kSignature[kPngSignatureBytes] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// The chunks kept before the image data (profile, text, Exif) never need
// more; a crafted file that claims more is refused rather than buffered.
constexpr size_t kLargestChunk = size_t{64} << 20;
constexpr size_t kMostCachedChunks = size_t{128} << 20;
// What is read from the file at a time, at least.
constexpr size_t kReadAhead = size_t{256} << 10;
// The resampler is told after every band of rows this tall.
constexpr int32_t kRowsPerTelling = 16;
const char kXmpKeyword[] = "XML:com.adobe.xmp";

struct ContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using ContextOwner = std::unique_ptr<spng_ctx, ContextDeleter>;

DecodeStatus statusOf(int error)
{
    switch (error) {
    case SPNG_OK:
        return DecodeStatus::Decoded;
    case SPNG_EMEM:
        return DecodeStatus::OutOfMemory;
    case SPNG_EOVERFLOW:
    case SPNG_ECHUNK_LIMITS:
        return DecodeStatus::TooLarge;
    // A kind of PNG that only another decoder may know (Apple's CgBI, say).
    case SPNG_ESIGNATURE:
    case SPNG_ECHUNK_UNKNOWN_CRITICAL:
        return DecodeStatus::NotForThisDecoder;
    default:  // damaged, cut short or unreadable
        return DecodeStatus::Corrupt;
    }
}

// libspng asks for each chunk's header, data and checksum apart, exactly
// `length` bytes each time; fewer is the end of the file. Small asks are
// served from a buffer, since a file read costs a system call each.
struct BufferedReader {
    ByteSource* source = nullptr;
    std::vector<uint8_t> buffer;
    size_t at = 0;
    size_t end = 0;
};

int readFromSource(spng_ctx*, void* user, void* destination, size_t length)
{
    BufferedReader& reader = *static_cast<BufferedReader*>(user);
    auto* target = static_cast<uint8_t*>(destination);
    const size_t buffered = std::min(length, reader.end - reader.at);
    std::memcpy(target, reader.buffer.data() + reader.at, buffered);
    reader.at += buffered;
    target += buffered;
    length -= buffered;
    if (length == 0) return 0;
    if (length >= reader.buffer.size())
        return readFully(*reader.source, target, length) == length ? 0 : SPNG_IO_EOF;
    reader.at = 0;
    reader.end = readFully(*reader.source, reader.buffer.data(), reader.buffer.size());
    if (reader.end < length) return SPNG_IO_EOF;
    std::memcpy(target, reader.buffer.data(), length);
    reader.at = length;
    return 0;
}

std::vector<uint8_t> bytesOf(const char* data, size_t length)
{
    const auto* start = reinterpret_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(start, start + length);
}

std::vector<uint8_t> xmpOf(spng_ctx* context)
{
    uint32_t count = 0;
    if (spng_get_text(context, nullptr, &count) != SPNG_OK || count == 0) return {};
    std::vector<spng_text> texts(count);
    if (spng_get_text(context, texts.data(), &count) != SPNG_OK) return {};
    for (const spng_text& text : texts) {
        if (text.type != SPNG_ITXT || std::strcmp(text.keyword, kXmpKeyword) != 0) continue;
        // XML holds no NUL: a packet with one is not kept, as PNG's writers could not keep it whole.
        if (text.length > 0 && std::memchr(text.text, 0, text.length)) return {};
        return bytesOf(text.text, text.length);
    }
    return {};
}

// 8 bits a channel, with alpha wherever any pixel may be transparent.
int formatFor(const spng_ihdr& header, bool transparentColour, int32_t& channels)
{
    const bool alpha = header.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ||
                       header.color_type == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA || transparentColour;
    if (alpha) {
        channels = 4;
        return SPNG_FMT_RGBA8;
    }
    // libspng gives grey of 16 bits only as colour.
    if (header.color_type == SPNG_COLOR_TYPE_GRAYSCALE && header.bit_depth <= 8) {
        channels = 1;
        return SPNG_FMT_G8;
    }
    channels = 3;
    return SPNG_FMT_RGB8;
}

}  // namespace

bool isPngSignature(const uint8_t* bytes, size_t count)
{
    return count >= kPngSignatureBytes && std::memcmp(bytes, kSignature, kPngSignatureBytes) == 0;
}

struct PngDecoder::State {
    BufferedReader reader;
    ContextOwner context;
    ImageSize stored;
    int format = SPNG_FMT_RGB8;
    int32_t channels = 3;
    bool interlaced = false;
    PictureMetadata metadata;
    int orientation = 1;
    DecoderPhase phase = DecoderPhase::Fresh;

    DecodeStatus readChunks(ByteSource& source);
    DecodeStatus readRows(const MutablePixelView& pixels, const RowsDecoded* decoded);
    void readTrailingMetadata();
};

DecodeStatus PngDecoder::State::readChunks(ByteSource& source)
{
    // The image data's chunks are checked by their CRCs, which any damage to
    // them fails, so zlib's own checksum of the same bytes would add nothing.
    context.reset(spng_ctx_new(SPNG_CTX_IGNORE_ADLER32));
    if (!context) return DecodeStatus::OutOfMemory;
    spng_ctx* png = context.get();
    if (spng_set_chunk_limits(png, kLargestChunk, kMostCachedChunks) != SPNG_OK) return DecodeStatus::OutOfMemory;
    reader.source = &source;
    reader.buffer.resize(kReadAhead);
    int error = spng_set_png_stream(png, readFromSource, &reader);
    if (error == SPNG_OK) error = spng_decode_chunks(png);
    spng_ihdr header = {};
    if (error == SPNG_OK) error = spng_get_ihdr(png, &header);
    if (error != SPNG_OK) return statusOf(error);
    spng_trns transparency = {};
    format = formatFor(header, spng_get_trns(png, &transparency) == SPNG_OK, channels);
    if (passesDecodedBound(header.width, header.height, static_cast<uint32_t>(channels)))
        return DecodeStatus::TooLarge;
    stored = {static_cast<int32_t>(header.width), static_cast<int32_t>(header.height)};
    interlaced = header.interlace_method != 0;

    spng_iccp profile = {};
    if (spng_get_iccp(png, &profile) == SPNG_OK)
        metadata.colourProfile = bytesOf(profile.profile, profile.profile_len);
    spng_exif exif = {};
    if (spng_get_exif(png, &exif) == SPNG_OK) metadata.exif = bytesOf(exif.data, exif.length);
    metadata.xmp = xmpOf(png);
    orientation = exifOrientation(metadata.exif.data(), metadata.exif.size());
    return DecodeStatus::Decoded;
}

DecodeStatus PngDecoder::State::readRows(const MutablePixelView& pixels, const RowsDecoded* decoded)
{
    spng_ctx* png = context.get();
    int error = spng_decode_image(png, nullptr, 0, format, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE);
    const size_t rowBytes = static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.channels);
    int32_t told = 0;
    while (error == SPNG_OK) {
        spng_row_info row = {};
        error = spng_get_row_info(png, &row);
        if (error != SPNG_OK || row.row_num >= static_cast<uint32_t>(pixels.height)) break;
        uint8_t* target = pixels.row(static_cast<int32_t>(row.row_num));
        error = spng_decode_row(png, target, rowBytes);
        // An interlaced file's rows are whole only after its last pass, when
        // they are swapped once, all together.
        if ((error == SPNG_OK || error == SPNG_EOI) && !interlaced) {
            if (channels >= 3) swapRedAndBlue(target, pixels.width, channels);
            const int32_t rows = static_cast<int32_t>(row.row_num) + 1;
            if (decoded && rows - told >= kRowsPerTelling) {
                decoded->tell(decoded->context, rows);
                told = rows;
            }
        }
    }
    if (error != SPNG_EOI) return statusOf(error == SPNG_OK ? SPNG_EINTERNAL : error);
    if (interlaced && channels >= 3) {
        for (int32_t y = 0; y < pixels.height; ++y) swapRedAndBlue(pixels.row(y), pixels.width, channels);
    }
    return DecodeStatus::Decoded;
}

// Exif and XMP may follow the image data, where writers that set them late
// put them. Browsers turn a PNG only by an eXIf before the image data, which
// they read before the pixels; one after it is kept, saying orientation 1,
// so that the copy shows as its source does. Trailing chunks a reader does
// not need for the pixels cannot spoil the copy: damage there keeps what
// came before.
void PngDecoder::State::readTrailingMetadata()
{
    spng_ctx* png = context.get();
    if (spng_decode_chunks(png) != SPNG_OK) return;
    if (metadata.exif.empty()) {
        spng_exif exif = {};
        if (spng_get_exif(png, &exif) == SPNG_OK) {
            metadata.exif = bytesOf(exif.data, exif.length);
            if (!patchExifForCopy(metadata.exif.data(), metadata.exif.size(), true, stored)) metadata.exif.clear();
        }
    }
    if (metadata.xmp.empty()) {
        metadata.xmp = xmpOf(png);
        setXmpOrientationUpright(metadata.xmp.data(), metadata.xmp.size());
    }
}

PngDecoder::PngDecoder() : state_(new State) {}

PngDecoder::~PngDecoder() = default;

DecodeStatus PngDecoder::readHeader(ByteSource& source)
{
    State& state = *state_;
    return readHeaderOnce(state, [&] { return state.readChunks(source); });
}

ImageSize PngDecoder::storedSize() const
{
    return state_->stored;
}

int PngDecoder::orientation() const
{
    return state_->orientation;
}

const PictureMetadata& PngDecoder::metadata() const
{
    return state_->metadata;
}

DecodeStatus PngDecoder::start(const ImageSize&)
{
    State& state = *state_;
    if (state.phase != DecoderPhase::HeaderRead) return DecodeStatus::NotForThisDecoder;
    state.phase = DecoderPhase::Started;
    return DecodeStatus::Decoded;
}

ImageSize PngDecoder::decodedSize() const
{
    return state_->stored;
}

int32_t PngDecoder::channels() const
{
    return state_->channels;
}

PixelExtent PngDecoder::decodedExtent() const
{
    return {static_cast<double>(state_->stored.width), static_cast<double>(state_->stored.height)};
}

DecodeStatus PngDecoder::readPixels(const MutablePixelView& pixels, const RowsDecoded* decoded)
{
    State& state = *state_;
    if (state.phase != DecoderPhase::Started) return DecodeStatus::NotForThisDecoder;
    state.phase = DecoderPhase::Done;
    if (!pixels.isValid() || pixels.width != state.stored.width || pixels.height != state.stored.height ||
        pixels.channels != state.channels)
        return DecodeStatus::NotForThisDecoder;
    const DecodeStatus status = state.readRows(pixels, decoded);
    if (status == DecodeStatus::Decoded) state.readTrailingMetadata();
    state.context.reset();
    if (status == DecodeStatus::Decoded && decoded) decoded->tell(decoded->context, pixels.height);
    return status;
}

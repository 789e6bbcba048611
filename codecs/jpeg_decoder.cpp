#include "codecs/jpeg_decoder.h"

#include <algorithm>
#include <new>

#include <jerror.h>

#include "codecs/jpeg_error_manager.h"
#include "codecs/jpeg_metadata.h"
#include "codecs/jpeg_source_manager.h"
#include "colour/ink_colours.h"

namespace {

constexpr int kApp1 = JPEG_APP0 + 1;
constexpr int kApp2 = JPEG_APP0 + 2;
// Rows handed to libjpeg per read, so its upsampler writes straight into ours.
constexpr int kRowsPerRead = 16;

// A progressive photo has about ten scans; thousands of tiny ones would keep
// a resize busy for minutes.
constexpr int kMaxScans = 500;
// libjpeg's own working memory: a 200-megapixel baseline photo needs a few
// megabytes, a 75-megapixel progressive one about 230 MB for its
// coefficients; a crafted header may ask for gigabytes.
constexpr long kMostWorkingMemory = 1L << 30;

enum class Phase { Fresh, HeaderRead, Started, Done };

// Colours that come out as grey or BGR, or as inks that are turned into BGR;
// unknown ones are left to others.
bool hasKnownColours(const jpeg_decompress_struct& info)
{
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
    case JCS_CMYK:
    case JCS_YCCK:
        return true;
    default:
        return false;
    }
}

bool isInInks(const jpeg_decompress_struct& info)
{
    return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

void limitScans(j_common_ptr common)
{
    const auto info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > kMaxScans) ERREXIT(info, JERR_BAD_SCAN_SCRIPT);
}

struct HeaderJob {
    jpeg_decompress_struct* info;
    jpeg_source_mgr* input;
    jpeg_progress_mgr* progress;
};

void readHeaderStep(void* context)
{
    const HeaderJob& job = *static_cast<HeaderJob*>(context);
    jpeg_create_decompress(job.info);
    job.info->mem->max_memory_to_use = kMostWorkingMemory;
    job.info->src = job.input;
    job.info->progress = job.progress;
    jpeg_save_markers(job.info, kApp1, 0xFFFF);
    jpeg_save_markers(job.info, kApp2, 0xFFFF);
    jpeg_read_header(job.info, TRUE);
}

// The whole picture's coefficients, which a file of several scans is read
// into: counted here in 64 bits, since libjpeg's own sum wraps in a 32-bit
// process and the request then fails as memory running out, or not at all.
uint64_t coefficientBytes(const jpeg_decompress_struct& info)
{
    uint64_t bytes = 0;
    for (int i = 0; i < info.num_components; ++i)
        bytes += uint64_t{info.comp_info[i].width_in_blocks} * info.comp_info[i].height_in_blocks * sizeof(JBLOCK);
    return bytes;
}

struct StartJob {
    jpeg_decompress_struct* info;
    ImageSize smallest;
    bool needsEndMarker;
};

// The smallest inverse-DCT scale still at least `smallest` both ways; a
// progressive file is read whole here.
void startStep(void* context)
{
    StartJob& job = *static_cast<StartJob*>(context);
    jpeg_decompress_struct& info = *job.info;
    if (info.jpeg_color_space == JCS_GRAYSCALE) info.out_color_space = JCS_GRAYSCALE;
    else if (isInInks(info)) info.out_color_space = JCS_CMYK;
    else info.out_color_space = JCS_EXT_BGR;
    const auto width = static_cast<JDIMENSION>(std::max(job.smallest.width, 0));
    const auto height = static_cast<JDIMENSION>(std::max(job.smallest.height, 0));
    info.scale_num = 1;
    unsigned int denominator = 8;
    for (; denominator > 1; denominator /= 2) {
        info.scale_denom = denominator;
        jpeg_calc_output_dimensions(&info);
        if (info.output_width >= width && info.output_height >= height) break;
    }
    info.scale_denom = denominator;
    if (jpeg_has_multiple_scans(&info) && coefficientBytes(info) > static_cast<uint64_t>(kMostWorkingMemory))
        ERREXIT1(&info, JERR_IMAGE_TOO_BIG, JPEG_MAX_DIMENSION);
    jpeg_start_decompress(&info);
    // Only a single Huffman scan tells a cut by itself, running short of
    // bits; where more scans or arithmetic coding follow, the end marker is
    // what shows that nothing is missing.
    job.needsEndMarker = jpeg_has_multiple_scans(&info) || info.arith_code;
}

struct ReadJob {
    jpeg_decompress_struct* info;
    MutablePixelView pixels;
    const RowsDecoded* decoded;
    uint8_t* inkRows;  // kRowsPerRead rows of CMYK, for pictures in inks
    const InkColours* inks;
};

void readPixelsStep(void* context)
{
    const ReadJob& job = *static_cast<ReadJob*>(context);
    jpeg_decompress_struct& info = *job.info;
    const size_t inkRowBytes = static_cast<size_t>(info.output_width) * 4;
    JSAMPROW rows[kRowsPerRead];
    while (info.output_scanline < info.output_height) {
        const JDIMENSION first = info.output_scanline;
        JDIMENSION count = 0;
        while (count < kRowsPerRead && first + count < info.output_height) {
            rows[count] = job.inkRows ? job.inkRows + count * inkRowBytes : job.pixels.row(static_cast<int32_t>(first + count));
            ++count;
        }
        const JDIMENSION read = jpeg_read_scanlines(&info, rows, count);
        for (JDIMENSION i = 0; job.inkRows && i < read; ++i)
            job.inks->toBgr(rows[i], job.pixels.width, job.pixels.row(static_cast<int32_t>(first + i)));
        if (job.decoded) job.decoded->tell(job.decoded->context, static_cast<int32_t>(info.output_scanline));
    }
    // Reads on to the end marker, so a file cut after its last row is caught too.
    jpeg_finish_decompress(&info);
}

DecodeStatus failureOf(const JpegErrorManager& errors)
{
    switch (errors.pub.msg_code) {
    case JERR_OUT_OF_MEMORY:
        return DecodeStatus::OutOfMemory;
    case JERR_NO_BACKING_STORE:  // asked for more than kMostWorkingMemory
    case JERR_IMAGE_TOO_BIG:
        return DecodeStatus::TooLarge;
    default:
        return DecodeStatus::Corrupt;
    }
}

// Not a JPEG, or a kind libjpeg-turbo does not decode (lossless, hierarchical,
// 12-bit) but others may; any other failure of the header is damage.
DecodeStatus headerFailureOf(const JpegErrorManager& errors)
{
    const int code = errors.pub.msg_code;
    if (code == JERR_NO_SOI || code == JERR_SOF_UNSUPPORTED || code == JERR_BAD_PRECISION)
        return DecodeStatus::NotForThisDecoder;
    return failureOf(errors);
}


}  // namespace

struct JpegDecoder::State {
    jpeg_decompress_struct info = {};  // zeroed: destroying one never created does nothing
    JpegErrorManager errors;
    JpegSourceManager input;
    jpeg_progress_mgr progress = {limitScans, 0, 0, 0, 0};
    PictureMetadata metadata;
    int orientation = 1;
    Phase phase = Phase::Fresh;
    bool needsEndMarker = true;

    ~State() { jpeg_destroy_decompress(&info); }
};

JpegDecoder::JpegDecoder() : state_(new State) {}

JpegDecoder::~JpegDecoder() = default;

DecodeStatus JpegDecoder::readHeader(ByteSource& source)
{
    State& state = *state_;
    if (state.phase != Phase::Fresh) return DecodeStatus::NotForThisDecoder;
    state.phase = Phase::Done;
    state.info.err = prepareErrors(state.errors);
    HeaderJob job{&state.info, prepareSource(state.input, source), &state.progress};
    if (!runJpegStep(state.errors, readHeaderStep, &job)) return headerFailureOf(state.errors);
    if (!hasKnownColours(state.info)) return DecodeStatus::NotForThisDecoder;
    try {
        JpegSegments segments;
        for (jpeg_saved_marker_ptr marker = state.info.marker_list; marker; marker = marker->next)
            segments.push_back({static_cast<uint8_t>(marker->marker),
                                std::vector<uint8_t>(marker->data, marker->data + marker->data_length)});
        state.metadata = metadataOfSegments(std::move(segments));
    } catch (const std::bad_alloc&) {
        state.metadata = PictureMetadata();
        return DecodeStatus::OutOfMemory;
    }
    state.orientation = orientationOfSegments(state.metadata.jpegSegments);
    state.phase = Phase::HeaderRead;
    return DecodeStatus::Decoded;
}

ImageSize JpegDecoder::storedSize() const
{
    return {static_cast<int32_t>(state_->info.image_width), static_cast<int32_t>(state_->info.image_height)};
}

const JpegSegments& JpegDecoder::segments() const
{
    return state_->metadata.jpegSegments;
}

int JpegDecoder::orientation() const
{
    return state_->orientation;
}

const PictureMetadata& JpegDecoder::metadata() const
{
    return state_->metadata;
}

DecodeStatus JpegDecoder::start(const ImageSize& smallest)
{
    State& state = *state_;
    if (state.phase != Phase::HeaderRead) return DecodeStatus::NotForThisDecoder;
    state.phase = Phase::Done;
    StartJob job{&state.info, smallest, true};
    if (!runJpegStep(state.errors, startStep, &job)) return failureOf(state.errors);
    state.needsEndMarker = job.needsEndMarker;
    state.phase = Phase::Started;
    return DecodeStatus::Decoded;
}

ImageSize JpegDecoder::decodedSize() const
{
    return {static_cast<int32_t>(state_->info.output_width), static_cast<int32_t>(state_->info.output_height)};
}

int32_t JpegDecoder::channels() const
{
    return isInInks(state_->info) ? 3 : state_->info.output_components;
}

PixelExtent JpegDecoder::decodedExtent() const
{
    const jpeg_decompress_struct& info = state_->info;
    const double scale = static_cast<double>(info.scale_num) / info.scale_denom;
    return {info.image_width * scale, info.image_height * scale};
}

DecodeStatus JpegDecoder::readPixels(const MutablePixelView& pixels, const RowsDecoded* decoded)
{
    State& state = *state_;
    if (state.phase != Phase::Started) return DecodeStatus::NotForThisDecoder;
    state.phase = Phase::Done;
    const ImageSize size = decodedSize();
    if (!pixels.isValid() || pixels.width != size.width || pixels.height != size.height ||
        pixels.channels != channels())
        return DecodeStatus::NotForThisDecoder;
    std::vector<uint8_t> inkRows;
    std::unique_ptr<InkColours> inks;
    try {
        if (isInInks(state.info)) {
            inkRows.resize(static_cast<size_t>(size.width) * 4 * kRowsPerRead);
            // Adobe's files, the common ones, store the inks inverted.
            inks = std::make_unique<InkColours>(state.metadata.colourProfile, state.info.saw_Adobe_marker != 0);
        }
    } catch (const std::bad_alloc&) {
        return DecodeStatus::OutOfMemory;
    }
    ReadJob job{&state.info, pixels, decoded, inkRows.empty() ? nullptr : inkRows.data(), inks.get()};
    if (!runJpegStep(state.errors, readPixelsStep, &job)) return failureOf(state.errors);
    const bool cut = state.errors.reachedEnd && state.needsEndMarker;
    return state.errors.lostData || cut ? DecodeStatus::Corrupt : DecodeStatus::Decoded;
}

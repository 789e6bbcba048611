#include "codecs/jpeg_decoder.h"

#include <algorithm>
#include <new>

#include <jerror.h>

#include "codecs/jpeg_error_manager.h"
#include "codecs/jpeg_source_manager.h"

namespace {

constexpr int kApp1 = JPEG_APP0 + 1;
constexpr int kApp2 = JPEG_APP0 + 2;
// Rows handed to libjpeg per read, so its upsampler writes straight into ours.
constexpr int kRowsPerRead = 16;

// A progressive photo has about ten scans; thousands of tiny ones would keep
// a resize busy for minutes.
constexpr int kMaxScans = 500;

enum class Phase { Fresh, HeaderRead, Done };

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
    job.info->src = job.input;
    job.info->progress = job.progress;
    jpeg_save_markers(job.info, kApp1, 0xFFFF);
    jpeg_save_markers(job.info, kApp2, 0xFFFF);
    jpeg_read_header(job.info, TRUE);
}

struct StartJob {
    jpeg_decompress_struct* info;
    ImageSize smallest;
};

// The smallest inverse-DCT scale still at least `smallest` both ways; a
// progressive file is read whole here.
void startStep(void* context)
{
    const StartJob& job = *static_cast<StartJob*>(context);
    jpeg_decompress_struct& info = *job.info;
    info.out_color_space = JCS_EXT_BGR;
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
    jpeg_start_decompress(&info);
}

struct ReadJob {
    jpeg_decompress_struct* info;
    MutablePixelView pixels;
};

void readPixelsStep(void* context)
{
    const ReadJob& job = *static_cast<ReadJob*>(context);
    jpeg_decompress_struct& info = *job.info;
    JSAMPROW rows[kRowsPerRead];
    while (info.output_scanline < info.output_height) {
        const JDIMENSION first = info.output_scanline;
        JDIMENSION count = 0;
        while (count < kRowsPerRead && first + count < info.output_height) {
            rows[count] = job.pixels.row(static_cast<int32_t>(first + count));
            ++count;
        }
        jpeg_read_scanlines(&info, rows, count);
    }
    // Reads on to the end marker, so a file cut after its last row is caught too.
    jpeg_finish_decompress(&info);
}

JpegStatus failureOf(const JpegErrorManager& errors)
{
    return errors.ranOutOfMemory() ? JpegStatus::OutOfMemory : JpegStatus::Corrupt;
}

// Colours that come out as BGR; CMYK, YCCK and unknown ones are left to others.
bool hasPlainColours(const jpeg_decompress_struct& info)
{
    return info.jpeg_color_space == JCS_GRAYSCALE || info.jpeg_color_space == JCS_YCbCr ||
           info.jpeg_color_space == JCS_RGB;
}

}  // namespace

struct JpegDecoder::State {
    jpeg_decompress_struct info = {};  // zeroed: destroying one never created does nothing
    JpegErrorManager errors;
    JpegSourceManager input;
    jpeg_progress_mgr progress = {limitScans, 0, 0, 0, 0};
    JpegSegments segments;
    Phase phase = Phase::Fresh;

    ~State() { jpeg_destroy_decompress(&info); }
};

JpegDecoder::JpegDecoder() : state_(new State) {}

JpegDecoder::~JpegDecoder() = default;

JpegStatus JpegDecoder::readHeader(ByteSource& source)
{
    State& state = *state_;
    if (state.phase != Phase::Fresh) return JpegStatus::NotForThisDecoder;
    state.phase = Phase::Done;
    state.info.err = prepareErrors(state.errors);
    HeaderJob job{&state.info, prepareSource(state.input, source), &state.progress};
    if (!runJpegStep(state.errors, readHeaderStep, &job))
        return state.errors.ranOutOfMemory() ? JpegStatus::OutOfMemory : JpegStatus::NotForThisDecoder;
    if (!hasPlainColours(state.info)) return JpegStatus::NotForThisDecoder;
    try {
        for (jpeg_saved_marker_ptr marker = state.info.marker_list; marker; marker = marker->next)
            state.segments.push_back({static_cast<uint8_t>(marker->marker),
                                      std::vector<uint8_t>(marker->data, marker->data + marker->data_length)});
    } catch (const std::bad_alloc&) {
        state.segments.clear();
        return JpegStatus::OutOfMemory;
    }
    state.phase = Phase::HeaderRead;
    return JpegStatus::Decoded;
}

ImageSize JpegDecoder::storedSize() const
{
    return {static_cast<int32_t>(state_->info.image_width), static_cast<int32_t>(state_->info.image_height)};
}

const JpegSegments& JpegDecoder::segments() const
{
    return state_->segments;
}

JpegStatus JpegDecoder::decode(const ImageSize& smallest, PixelBuffer& pixels)
{
    pixels = PixelBuffer();
    State& state = *state_;
    if (state.phase != Phase::HeaderRead) return JpegStatus::NotForThisDecoder;
    state.phase = Phase::Done;
    StartJob start{&state.info, smallest};
    if (!runJpegStep(state.errors, startStep, &start)) return failureOf(state.errors);
    if (!pixels.allocate(static_cast<int32_t>(state.info.output_width),
                         static_cast<int32_t>(state.info.output_height), 3))
        return JpegStatus::OutOfMemory;
    ReadJob job{&state.info, pixels.mutableView()};
    const bool read = runJpegStep(state.errors, readPixelsStep, &job);
    if (read && !state.errors.lostData) return JpegStatus::Decoded;
    pixels = PixelBuffer();
    return read ? JpegStatus::Corrupt : failureOf(state.errors);
}

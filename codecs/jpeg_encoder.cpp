#include "codecs/jpeg_encoder.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "codecs/jpeg_error_manager.h"

namespace {

static_assert(kJpegLargestSide == JPEG_MAX_DIMENSION, "the side libjpeg writes");

constexpr size_t kMaxSegmentData = 65533;  // a segment's length field counts itself too

bool isExif(const JpegSegment& segment)
{
    static const uint8_t kExifHeader[] = {'E', 'x', 'i', 'f', 0, 0};
    return segment.marker == JPEG_APP0 + 1 && segment.data.size() >= sizeof kExifHeader &&
           std::memcmp(segment.data.data(), kExifHeader, sizeof kExifHeader) == 0;
}

// Application segments and comments only: anything else would change how the file decodes.
bool isWritable(const JpegSegment& segment)
{
    const bool application = segment.marker >= JPEG_APP0 && segment.marker <= JPEG_APP0 + 15;
    return (application || segment.marker == JPEG_COM) && segment.data.size() <= kMaxSegmentData;
}

uint8_t overWhite(uint8_t value, uint8_t alpha)
{
    return static_cast<uint8_t>((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

struct EncodeJob {
    jpeg_compress_struct* info;
    const PixelView* pixels;
    const JpegSegments* segments;
    bool writeJfif;
    JSAMPLE* rowOverWhite;  // one row of BGR, for 4-channel pixels
    unsigned char** file;
    unsigned long* fileSize;
    bool destinationSet;
    int quality;
};

JSAMPROW rowToWrite(const EncodeJob& job, int32_t y)
{
    const uint8_t* row = job.pixels->row(y);
    if (job.pixels->channels != 4) return const_cast<JSAMPROW>(row);  // libjpeg only reads it
    for (int32_t x = 0; x < job.pixels->width; ++x, row += 4) {
        for (int c = 0; c < 3; ++c) job.rowOverWhite[x * 3 + c] = overWhite(row[c], row[3]);
    }
    return job.rowOverWhite;
}

void encodeStep(void* context)
{
    EncodeJob& job = *static_cast<EncodeJob*>(context);
    jpeg_compress_struct& info = *job.info;
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, job.file, job.fileSize);
    job.destinationSet = true;
    info.image_width = static_cast<JDIMENSION>(job.pixels->width);
    info.image_height = static_cast<JDIMENSION>(job.pixels->height);
    const bool grey = job.pixels->channels == 1;
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, job.quality, TRUE);
    if (!grey) {
        info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 2;
        for (int c = 1; c < 3; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    }
    info.optimize_coding = TRUE;
    info.write_JFIF_header = job.writeJfif ? TRUE : FALSE;
    jpeg_start_compress(&info, TRUE);
    for (const JpegSegment& segment : *job.segments)
        jpeg_write_marker(&info, segment.marker, segment.data.data(), static_cast<unsigned int>(segment.data.size()));
    for (int32_t y = 0; y < job.pixels->height; ++y) {
        JSAMPROW row = rowToWrite(job, y);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
}

}  // namespace

bool encodeJpeg(const PixelView& pixels, const JpegSegments& segments, std::vector<uint8_t>& file, int quality)
{
    file.clear();
    if (quality < 1 || quality > 100) return false;
    if (!pixels.isValid() || pixels.width > kJpegLargestSide || pixels.height > kJpegLargestSide) return false;
    bool hasExif = false;
    for (const JpegSegment& segment : segments) {
        if (!isWritable(segment)) return false;
        hasExif = hasExif || isExif(segment);
    }
    std::vector<JSAMPLE> rowOverWhite;
    try {
        if (pixels.channels == 4) rowOverWhite.resize(static_cast<size_t>(pixels.width) * 3);
    } catch (const std::bad_alloc&) {
        return false;
    }

    JpegErrorManager errors;
    jpeg_compress_struct info = {};
    info.err = prepareErrors(errors);
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    // Exif asks for its segment straight after the start, as cameras write it,
    // so the copy of a photo leaves out the JFIF one libjpeg would put first.
    EncodeJob job{&info, &pixels, &segments, !hasExif, rowOverWhite.data(), &output, &outputSize, false, quality};
    const bool encoded = runJpegStep(errors, encodeStep, &job);
    // On an error the growing buffer is known only to the destination, which
    // hands it over when told to finish.
    if (!encoded && job.destinationSet) info.dest->term_destination(&info);
    jpeg_destroy_compress(&info);
    const std::unique_ptr<unsigned char, void (*)(void*)> owned(output, std::free);
    if (!encoded) return false;
    try {
        file.assign(output, output + outputSize);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

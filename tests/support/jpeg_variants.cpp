#include "tests/support/jpeg_variants.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "tests/support/file_system.h"

namespace {

unsigned char sample(const Colour& colour, JpegVariant variant, int component)
{
    const int grey = (colour.red * 299 + colour.green * 587 + colour.blue * 114) / 1000;
    if (variant == JpegVariant::Grey) return static_cast<unsigned char>(grey);
    // Adobe's CMYK JPEGs store the inks inverted: what is left of each colour.
    const int values[] = {colour.red, colour.green, colour.blue, variant == JpegVariant::Cmyk ? 255 : 0};
    return static_cast<unsigned char>(values[component]);
}

}  // namespace

bool makeJpegVariant(const std::wstring& path, int width, int height, JpegVariant variant, const Quadrants& fill)
{
    jpeg_compress_struct compress = {};
    jpeg_error_mgr errors = {};
    compress.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compress);
    unsigned char* bytes = nullptr;
    unsigned long count = 0;
    jpeg_mem_dest(&compress, &bytes, &count);
    compress.image_width = static_cast<JDIMENSION>(width);
    compress.image_height = static_cast<JDIMENSION>(height);
    compress.input_components = variant == JpegVariant::Grey ? 1 : variant == JpegVariant::Cmyk ? 4 : 3;
    compress.in_color_space = variant == JpegVariant::Grey ? JCS_GRAYSCALE
                              : variant == JpegVariant::Cmyk ? JCS_CMYK
                                                             : JCS_RGB;
    jpeg_set_defaults(&compress);
    jpeg_set_quality(&compress, 90, TRUE);
    if (variant == JpegVariant::Progressive) jpeg_simple_progression(&compress);
    if (variant == JpegVariant::RestartMarkers) compress.restart_in_rows = 1;
    jpeg_start_compress(&compress, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * compress.input_components);
    const Colour colours[] = {fill.topLeft, fill.topRight, fill.bottomLeft, fill.bottomRight};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Colour& colour = colours[(y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)];
            for (int c = 0; c < compress.input_components; ++c)
                row[static_cast<size_t>(x) * compress.input_components + c] = sample(colour, variant, c);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&compress, rows, 1);
    }
    jpeg_finish_compress(&compress);
    jpeg_destroy_compress(&compress);
    const bool written = writeFileBytes(path, Bytes(bytes, bytes + count));
    std::free(bytes);
    return written;
}

#include "tests/support/jpeg_forms.h"

#include <cstdlib>

int lumaOf(const Colour& colour)
{
    return (colour.red * 299 + colour.green * 587 + colour.blue * 114) / 1000;
}

static JSAMPLE sampleOf(const Colour& colour, int components, int component)
{
    if (components == 1) return static_cast<JSAMPLE>(lumaOf(colour));
    // Adobe's CMYK stores what is left of each colour; no black ink.
    const int values[] = {colour.red, colour.green, colour.blue, 255};
    return static_cast<JSAMPLE>(values[component]);
}

std::vector<unsigned char> jpegInForm(const JpegForm& form, int width, int height, const Quadrants& fill,
                                      const std::vector<unsigned char>& profile)
{
    jpeg_compress_struct info = {};
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* output = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &output, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    const bool inks = form.colours == JCS_CMYK || form.colours == JCS_YCCK;
    info.input_components = form.colours == JCS_GRAYSCALE ? 1 : inks ? 4 : 3;
    info.in_color_space = form.colours == JCS_GRAYSCALE ? JCS_GRAYSCALE : inks ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, form.colours);
    jpeg_set_quality(&info, form.quality, TRUE);
    if (form.progressive) jpeg_simple_progression(&info);
    std::vector<jpeg_scan_info> scans = {{1, {0}, 0, 0, 0, 0}};
    for (int coefficient = 1; form.manyScans && coefficient < 64; ++coefficient)
        for (int bit = 9; bit >= 0; --bit)
            scans.push_back({1, {0}, coefficient, coefficient, bit == 9 ? 0 : bit + 1, bit});
    if (form.manyScans) {
        info.scan_info = scans.data();
        info.num_scans = static_cast<int>(scans.size());
    }
    info.arith_code = form.arithmetic ? TRUE : FALSE;
    info.restart_in_rows = form.restartRows;
    jpeg_start_compress(&info, TRUE);
    if (!profile.empty()) jpeg_write_icc_profile(&info, profile.data(), static_cast<unsigned int>(profile.size()));
    const Colour colours[] = {fill.topLeft, fill.topRight, fill.bottomLeft, fill.bottomRight};
    std::vector<JSAMPLE> row(static_cast<size_t>(width) * info.input_components);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Colour& colour = colours[(y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)];
            for (int c = 0; c < info.input_components; ++c)
                row[static_cast<size_t>(x) * info.input_components + c] = sampleOf(colour, info.input_components, c);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<unsigned char> file(output, output + size);
    std::free(output);
    return file;
}

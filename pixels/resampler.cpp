#include "pixels/resampler.h"

#include <climits>
#include <system_error>
#include <thread>

#include "pixels/box_reduction.h"

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include <stb_image_resize.h>

namespace {

// Chosen by measurement against ImageMagick's resize (bench/resize-quality.sh):
// on a 4000x3000 plasma fractal into 800x600, Catmull-Rom came to 53 dB of
// it, Mitchell to 49 and the cubic B-spline, which blurs, to 44.
constexpr stbir_filter kFilter = STBIR_FILTER_CATMULLROM;

// The resampler counts bytes in an int and takes rows that run downward only.
template <typename Byte>
bool fitsTheResampler(const BasicPixelView<Byte>& view)
{
    return view.stride > 0 && view.stride * static_cast<int64_t>(view.height) <= INT_MAX;
}

// `source` stands for `extentWidth` x `extentHeight` pixels of the picture:
// fewer than its own when its last column or row averages a cut-short block.
// Output rows from `top` up to `bottom` only, of the same whole resize: the
// filter still reads the source rows around them.
bool resampleRows(const PixelView& source, float extentWidth, float extentHeight, const MutablePixelView& target,
                  int32_t top, int32_t bottom)
{
    const int alpha = source.channels == 4 ? 3 : STBIR_ALPHA_CHANNEL_NONE;
    const float right = extentWidth / static_cast<float>(source.width);
    const float rowsPerTarget = extentHeight / static_cast<float>(source.height) / static_cast<float>(target.height);
    return stbir_resize_region(source.pixels, source.width, source.height, static_cast<int>(source.stride),
                               target.row(top), target.width, bottom - top, static_cast<int>(target.stride),
                               STBIR_TYPE_UINT8, source.channels, alpha, 0, STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP,
                               kFilter, kFilter, STBIR_COLORSPACE_LINEAR, nullptr, 0.0f,
                               rowsPerTarget * static_cast<float>(top), right,
                               rowsPerTarget * static_cast<float>(bottom)) != 0;
}

// A copy of this many rows or more is worth a second thread.
constexpr int32_t kRowsWorthAThread = 256;

bool resample(const PixelView& source, float extentWidth, float extentHeight, const MutablePixelView& target)
{
    if (!fitsTheResampler(source) || !fitsTheResampler(target)) return false;
    // The lower half on a thread of its own, so that one picture uses two
    // cores; a thread that cannot be had leaves it all to this one.
    const int32_t middle = target.height / 2;
    if (target.height < kRowsWorthAThread || std::thread::hardware_concurrency() < 2)
        return resampleRows(source, extentWidth, extentHeight, target, 0, target.height);
    bool lowerDone = false;
    std::thread lower;
    try {
        lower = std::thread(
            [&] { lowerDone = resampleRows(source, extentWidth, extentHeight, target, middle, target.height); });
    } catch (const std::system_error&) {
        return resampleRows(source, extentWidth, extentHeight, target, 0, target.height);
    }
    const bool upperDone = resampleRows(source, extentWidth, extentHeight, target, 0, middle);
    lower.join();
    return upperDone && lowerDone;
}

}  // namespace

bool scalePixels(const PixelView& source, int32_t width, int32_t height, PixelBuffer& scaled)
{
    if (!source.isValid() || !scaled.allocate(width, height, source.channels)) return false;
    const int32_t factor = boxFactorFor(source.width, source.height, width, height);
    // Rows that run upward are reduced by 1 too, which packs them downward.
    if (factor == 1 && source.stride > 0)
        return resample(source, static_cast<float>(source.width), static_cast<float>(source.height),
                        scaled.mutableView());
    PixelBuffer reduced;
    if (!boxReduce(source, factor, reduced)) return false;
    return resample(reduced.view(), static_cast<float>(source.width) / static_cast<float>(factor),
                    static_cast<float>(source.height) / static_cast<float>(factor), scaled.mutableView());
}

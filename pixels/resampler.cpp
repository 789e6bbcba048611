#include "pixels/resampler.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>
#include <system_error>

#include "pixels/box_reduction.h"

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include <stb_image_resize.h>

namespace {

// Chosen by measurement against ImageMagick's resize (bench/resize-quality.sh):
// on a 4000x3000 plasma fractal into 800x600, Catmull-Rom came to 53 dB of
// it, Mitchell to 49 and the cubic B-spline, which blurs, to 44.
constexpr stbir_filter kFilter = STBIR_FILTER_CATMULLROM;
// Catmull-Rom reaches two source pixels either way, more in a shrink.
constexpr double kFilterReach = 2.0;

// A copy of fewer rows is made by one thread: a second one costs more than it saves.
constexpr int32_t kRowsWorthASecondCore = 64;
// The copy's rows go in about this many bands, of no fewer than kLeastBandRows:
// each band filters again the few source rows it shares with the next, and
// the resampler weighs its filter anew for each, at a cost of the copy's
// width times the source's.
constexpr int32_t kBandsPerCopy = 4;
constexpr int32_t kLeastBandRows = 16;

// The resampler counts bytes in an int and takes rows that run downward only.
template <typename Byte>
bool fitsTheResampler(const BasicPixelView<Byte>& view)
{
    return view.stride > 0 && view.stride * static_cast<int64_t>(view.height) <= INT_MAX;
}

// Output rows from `top` up to `bottom` only, of the resize of `source`
// standing for `extent` into the whole of `target`: the filter reads the
// source rows around them.
bool resampleRows(const PixelView& source, const PixelExtent& extent, const MutablePixelView& target, int32_t top,
                  int32_t bottom)
{
    const int alpha = source.channels == 4 ? 3 : STBIR_ALPHA_CHANNEL_NONE;
    const auto right = static_cast<float>(extent.width / source.width);
    const double rowsPerTarget = extent.height / source.height / target.height;
    return stbir_resize_region(source.pixels, source.width, source.height, static_cast<int>(source.stride),
                               target.row(top), target.width, bottom - top, static_cast<int>(target.stride),
                               STBIR_TYPE_UINT8, source.channels, alpha, 0, STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP,
                               kFilter, kFilter, STBIR_COLORSPACE_LINEAR, nullptr, 0.0f,
                               static_cast<float>(rowsPerTarget * top), right,
                               static_cast<float>(rowsPerTarget * bottom)) != 0;
}

thread_local bool scalingAlone = false;

}  // namespace

void scaleOnThisThreadAlone(bool alone)
{
    scalingAlone = alone;
}

StreamedScale::~StreamedScale()
{
    stop();
}

void StreamedScale::stop()
{
    if (!secondCore_.joinable()) return;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    arrived_.notify_all();
    secondCore_.join();
}

ScaleStatus StreamedScale::begin(const PixelView& source, const PixelExtent& extent, int32_t width, int32_t height)
{
    if (!source.isValid() || width <= 0 || height <= 0 || !(extent.width > 0) || !(extent.height > 0))
        return ScaleStatus::TooLarge;
    source_ = source;
    factor_ = boxFactorFor(source.width, source.height, width, height);
    // Rows that run upward are reduced by 1 too, which packs them downward.
    if (factor_ > 1 || source.stride < 0) {
        if (!reduced_.allocate(boxReducedSide(source.width, factor_), boxReducedSide(source.height, factor_),
                               source.channels))
            return ScaleStatus::OutOfMemory;
        resampled_ = reduced_.view();
    } else {
        resampled_ = source;
    }
    extent_ = {extent.width / factor_, extent.height / factor_};
    if (!fitsTheResampler(resampled_)) return ScaleStatus::TooLarge;
    if (!scaled_.allocate(width, height, source.channels)) return ScaleStatus::OutOfMemory;
    if (!fitsTheResampler(scaled_.view())) return ScaleStatus::TooLarge;

    bandRows_ = std::max(kLeastBandRows, (height + kBandsPerCopy - 1) / kBandsPerCopy);
    bands_ = (height + bandRows_ - 1) / bandRows_;
    if (height < kRowsWorthASecondCore || scalingAlone || std::thread::hardware_concurrency() < 2)
        return ScaleStatus::Scaled;
    try {
        secondCore_ = std::thread(&StreamedScale::resampleBands, this);
    } catch (const std::system_error&) {
        // The filling thread does it all at the end.
    } catch (const std::bad_alloc&) {
    }
    return ScaleStatus::Scaled;
}

// How many rows of what the resampler reads the copy's rows up to `bottom`
// need: those under the filter's reach of the last one, and two more for
// the rounding in the resampler's own sums.
int32_t StreamedScale::sourceRowsFor(int32_t bottom) const
{
    const double rowsPerCopyRow = extent_.height / scaled_.view().height;
    const double reach = kFilterReach * std::max(rowsPerCopyRow, 1.0);
    const double last = std::ceil(bottom * rowsPerCopyRow + reach) + 2;
    return last >= resampled_.height ? resampled_.height : static_cast<int32_t>(last);
}

void StreamedScale::rowsFilled(int32_t rows)
{
    {
        const std::lock_guard<std::mutex> hold(lock_);
        filledRows_ = rows;
        if (resampled_.pixels == source_.pixels) readyRows_ = rows;
    }
    arrived_.notify_all();
    // The second core, where there is one, reduces them, so that the filling
    // thread goes straight back to decoding.
    if (!secondCore_.joinable()) reduceFilled();
}

void StreamedScale::reduceFilled()
{
    if (resampled_.pixels == source_.pixels) return;
    const std::lock_guard<std::mutex> reducing(reducing_);
    int32_t filled = 0;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        filled = filledRows_;
    }
    // Only whole blocks, but for the cut-short ones at the bottom edge.
    const int32_t reducible = filled >= source_.height ? resampled_.height : filled / factor_;
    if (reducible <= reducedRows_) return;
    try {
        if (!boxReduceRows(source_, factor_, reducedRows_, reducible, reduced_.mutableView())) outOfMemory_ = true;
    } catch (const std::bad_alloc&) {
        outOfMemory_ = true;
    }
    reducedRows_ = reducible;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        readyRows_ = reducible;
    }
    arrived_.notify_all();
}

// Takes the next band not yet taken, reduces the rows it reads as they come
// and waits for the rest, and resamples it, until no band is left.
void StreamedScale::resampleBands()
{
    for (;;) {
        const int32_t band = nextBand_++;
        if (band >= bands_) return;
        const int32_t top = band * bandRows_;
        const int32_t bottom = std::min(scaled_.view().height, top + bandRows_);
        const int32_t needed = sourceRowsFor(bottom);
        {
            std::unique_lock<std::mutex> hold(lock_);
            int32_t seen = -1;
            for (;;) {
                arrived_.wait(hold, [&] { return stopping_ || readyRows_ >= needed || filledRows_ != seen; });
                if (stopping_) return;
                if (readyRows_ >= needed) break;
                seen = filledRows_;
                hold.unlock();
                reduceFilled();
                hold.lock();
            }
        }
        if (!resampleRows(resampled_, extent_, scaled_.mutableView(), top, bottom)) outOfMemory_ = true;
    }
}

ScaleStatus StreamedScale::finish(PixelBuffer& scaled)
{
    rowsFilled(source_.height);
    resampleBands();
    if (secondCore_.joinable()) secondCore_.join();
    if (outOfMemory_) return ScaleStatus::OutOfMemory;
    scaled = std::move(scaled_);
    return ScaleStatus::Scaled;
}

ScaleStatus scalePixels(const PixelView& source, int32_t width, int32_t height, PixelBuffer& scaled)
{
    StreamedScale scale;
    const ScaleStatus begun = scale.begin(source, PixelExtent{double(source.width), double(source.height)}, width, height);
    return begun == ScaleStatus::Scaled ? scale.finish(scaled) : begun;
}

#include "imaging/box_reduction.h"

#include <algorithm>
#include <new>
#include <vector>

int32_t boxFactorFor(int32_t sourceWidth, int32_t sourceHeight, int32_t width, int32_t height)
{
    if (sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0) return 1;
    const int64_t across = sourceWidth / (2 * static_cast<int64_t>(width));
    const int64_t down = sourceHeight / (2 * static_cast<int64_t>(height));
    return static_cast<int32_t>(std::clamp<int64_t>(std::min(across, down), 1, kLargestBoxFactor));
}

namespace {

// 32 bits hold the sum of any block up to the largest: 255 * 255 per pixel
// times 256 * 256 pixels.
static_assert(255ull * 255 * kLargestBoxFactor * kLargestBoxFactor <= UINT32_MAX, "block sums fit 32 bits");

inline uint8_t roundedMean(uint32_t sum, uint32_t count)
{
    return static_cast<uint8_t>((static_cast<uint64_t>(sum) + count / 2) / count);
}

// Sums one band of source rows into one row of sums per reduced pixel and
// channel; with alpha the colour sums are of colour times alpha.
template <int32_t channels>
void sumBand(const PixelView& source, int32_t firstRow, int32_t lastRow, int32_t factor, std::vector<uint32_t>& sums)
{
    constexpr bool alpha = channels == 4;
    std::fill(sums.begin(), sums.end(), 0);
    for (int32_t y = firstRow; y < lastRow; ++y) {
        const uint8_t* pixel = source.row(y);
        uint32_t* sum = sums.data();
        for (int32_t x = 0; x < source.width; x += factor, sum += channels) {
            const int32_t count = std::min(factor, source.width - x);
            for (int32_t i = 0; i < count; ++i, pixel += channels) {
                const uint32_t weight = alpha ? pixel[3] : 1u;
                for (int32_t c = 0; c < 3; ++c) sum[c] += pixel[c] * weight;
                if (alpha) sum[3] += weight;
            }
        }
    }
}

}  // namespace

bool boxReduce(const PixelView& source, int32_t factor, PixelBuffer& reduced)
{
    if (!source.isValid() || factor < 1 || factor > kLargestBoxFactor) return false;
    const int32_t channels = source.channels;
    const int32_t width = static_cast<int32_t>((static_cast<int64_t>(source.width) + factor - 1) / factor);
    const int32_t height = static_cast<int32_t>((static_cast<int64_t>(source.height) + factor - 1) / factor);
    if (!reduced.allocate(width, height, channels)) return false;
    std::vector<uint32_t> sums;
    try {
        sums.resize(static_cast<size_t>(width) * static_cast<size_t>(channels));
    } catch (const std::bad_alloc&) {
        return false;
    }

    const MutablePixelView target = reduced.mutableView();
    for (int32_t y = 0; y < height; ++y) {
        const int32_t firstRow = static_cast<int32_t>(static_cast<int64_t>(y) * factor);
        const int32_t rows = std::min(factor, source.height - firstRow);
        if (channels == 4)
            sumBand<4>(source, firstRow, firstRow + rows, factor, sums);
        else
            sumBand<3>(source, firstRow, firstRow + rows, factor, sums);
        uint8_t* pixel = target.row(y);
        const uint32_t* sum = sums.data();
        for (int32_t x = 0; x < width; ++x, pixel += channels, sum += channels) {
            const int64_t firstColumn = static_cast<int64_t>(x) * factor;
            const auto count = static_cast<uint32_t>(std::min<int64_t>(factor, source.width - firstColumn) * rows);
            // Colours weighted by alpha are divided by the alpha sum; a block
            // with no alpha at all keeps black, which nothing shows.
            const uint32_t divisor = channels == 4 ? sum[3] : count;
            for (int32_t c = 0; c < 3; ++c) pixel[c] = divisor ? roundedMean(sum[c], divisor) : 0;
            if (channels == 4) pixel[3] = roundedMean(sum[3], count);
        }
    }
    return true;
}

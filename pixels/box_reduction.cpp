#include "pixels/box_reduction.h"

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

// 32 bits hold the sum of any block up to the largest, with half a count
// added for rounding: 255 * 255 per pixel times 256 * 256 pixels.
static_assert((255ull * 255 + 1) * kLargestBoxFactor * kLargestBoxFactor <= UINT32_MAX, "block sums fit 32 bits");

inline uint8_t roundedMean(uint32_t sum, uint32_t count)
{
    return static_cast<uint8_t>((sum + count / 2) / count);
}

// The rounded mean for one pixel count, which a whole row of blocks shares,
// by a multiplication instead of a division: exact while the rounded sum
// stays below 2^40 / count, and it stays below 256 * count, count being at
// most 256 * 256.
class MeanOf {
public:
    explicit MeanOf(uint32_t count) : half_(count / 2), multiplier_((uint64_t{1} << 40) / count + 1) {}
    uint8_t operator()(uint32_t sum) const { return static_cast<uint8_t>(((sum + half_) * multiplier_) >> 40); }

private:
    uint32_t half_;
    uint64_t multiplier_;
};

// Sums one band of source rows into one row of sums per reduced pixel and
// channel; with alpha the colour sums are of colour times alpha.
template <int32_t channels>
void sumBand(const PixelView& source, int32_t firstRow, int32_t lastRow, int32_t factor, std::vector<uint32_t>& sums)
{
    constexpr bool alpha = channels == 4;
    constexpr int32_t colours = alpha ? 3 : channels;
    std::fill(sums.begin(), sums.end(), 0);
    for (int32_t y = firstRow; y < lastRow; ++y) {
        const uint8_t* pixel = source.row(y);
        uint32_t* sum = sums.data();
        for (int32_t x = 0; x < source.width; x += factor, sum += channels) {
            const int32_t count = std::min(factor, source.width - x);
            // Summed in locals first: the pixel bytes may alias the sums for
            // all the compiler knows, which would keep them out of registers.
            uint32_t block[channels] = {};
            for (int32_t i = 0; i < count; ++i, pixel += channels) {
                const uint32_t weight = alpha ? pixel[3] : 1u;
                for (int32_t c = 0; c < colours; ++c) block[c] += pixel[c] * weight;
                if (alpha) block[3] += weight;
            }
            for (int32_t c = 0; c < channels; ++c) sum[c] += block[c];
        }
    }
}

void sumBandOf(const PixelView& source, int32_t firstRow, int32_t lastRow, int32_t factor, std::vector<uint32_t>& sums)
{
    if (source.channels == 4) sumBand<4>(source, firstRow, lastRow, factor, sums);
    else if (source.channels == 3) sumBand<3>(source, firstRow, lastRow, factor, sums);
    else sumBand<1>(source, firstRow, lastRow, factor, sums);
}

}  // namespace

int32_t boxReducedSide(int32_t side, int32_t factor)
{
    return static_cast<int32_t>((static_cast<int64_t>(side) + factor - 1) / factor);
}

bool boxReduceRows(const PixelView& source, int32_t factor, int32_t firstRow, int32_t endRow,
                   const MutablePixelView& reduced)
{
    if (!source.isValid() || factor < 1 || factor > kLargestBoxFactor) return false;
    const int32_t channels = source.channels;
    const int32_t width = boxReducedSide(source.width, factor);
    const int32_t height = boxReducedSide(source.height, factor);
    if (reduced.width != width || reduced.height != height || reduced.channels != channels || firstRow < 0 ||
        endRow > height || !reduced.isValid())
        return false;
    std::vector<uint32_t> sums;
    try {
        sums.resize(static_cast<size_t>(width) * static_cast<size_t>(channels));
    } catch (const std::bad_alloc&) {
        return false;
    }

    // Every block but the last of the row holds factor columns.
    const auto lastColumns = static_cast<uint32_t>(source.width - static_cast<int64_t>(width - 1) * factor);
    for (int32_t y = firstRow; y < endRow; ++y) {
        const int32_t firstSourceRow = static_cast<int32_t>(static_cast<int64_t>(y) * factor);
        const int32_t rows = std::min(factor, source.height - firstSourceRow);
        sumBandOf(source, firstSourceRow, firstSourceRow + rows, factor, sums);
        uint8_t* pixel = reduced.row(y);
        const uint32_t* sum = sums.data();
        const MeanOf wholeBlock(static_cast<uint32_t>(factor * rows));
        const MeanOf lastBlock(lastColumns * static_cast<uint32_t>(rows));
        for (int32_t x = 0; x < width; ++x, pixel += channels, sum += channels) {
            const MeanOf& mean = x + 1 < width ? wholeBlock : lastBlock;
            if (channels != 4) {
                for (int32_t c = 0; c < channels; ++c) pixel[c] = mean(sum[c]);
                continue;
            }
            // Colours weighted by alpha are divided by the alpha sum; a block
            // with no alpha at all keeps black, which nothing shows.
            for (int32_t c = 0; c < 3; ++c) pixel[c] = sum[3] ? roundedMean(sum[c], sum[3]) : 0;
            pixel[3] = mean(sum[3]);
        }
    }
    return true;
}

bool boxReduce(const PixelView& source, int32_t factor, PixelBuffer& reduced)
{
    if (!source.isValid() || factor < 1 || factor > kLargestBoxFactor) return false;
    const int32_t height = boxReducedSide(source.height, factor);
    return reduced.allocate(boxReducedSide(source.width, factor), height, source.channels) &&
           boxReduceRows(source, factor, 0, height, reduced.mutableView());
}

// Small pictures of any content, stride and channel count through the box
// reduction, the upright turn and the whole scaling: the reduction gives the
// alpha-weighted block means a plain model computes, the turn puts every
// pixel where its orientation says, and the scaling keeps a one-colour
// picture one colour, whatever the sizes.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "pixels/box_reduction.h"
#include "pixels/resampler.h"
#include "pixels/upright_turn.h"

namespace {

struct Picture {
    std::vector<uint8_t> bytes;
    PixelView view;
};

Picture consumePicture(FuzzedDataProvider& data)
{
    Picture picture;
    const int32_t width = data.ConsumeIntegralInRange<int32_t>(1, 40);
    const int32_t height = data.ConsumeIntegralInRange<int32_t>(1, 40);
    const int32_t channels = data.PickValueInArray({1, 3, 4});
    const ptrdiff_t stride = width * channels + data.ConsumeIntegralInRange<int32_t>(0, 5);
    picture.bytes.resize(static_cast<size_t>(stride * height));
    const bool oneColour = data.ConsumeBool();
    const std::vector<uint8_t> fill = data.ConsumeBytes<uint8_t>(picture.bytes.size());
    for (size_t i = 0; i < picture.bytes.size(); ++i)
        picture.bytes[i] = oneColour ? static_cast<uint8_t>(17 * (i % stride % channels) + 40)
                                     : (i < fill.size() ? fill[i] : 0);
    // Half the time the rows run upward, as in a bottom-up bitmap.
    const bool upward = data.ConsumeBool();
    picture.view = {picture.bytes.data() + (upward ? (height - 1) * stride : 0), width, height,
                    upward ? -stride : stride, channels};
    return picture;
}

void checkReduction(const PixelView& source, int32_t factor)
{
    PixelBuffer reduced;
    require(boxReduce(source, factor, reduced), "a valid picture reduces");
    const PixelView view = reduced.view();
    require(view.width == (source.width + factor - 1) / factor && view.height == (source.height + factor - 1) / factor,
            "one pixel per block, cut-short blocks included");
    const bool alpha = source.channels == 4;
    for (int32_t y = 0; y < view.height; ++y) {
        for (int32_t x = 0; x < view.width; ++x) {
            uint64_t sums[4] = {};
            uint64_t count = 0;
            for (int32_t sy = y * factor; sy < std::min(source.height, (y + 1) * factor); ++sy) {
                for (int32_t sx = x * factor; sx < std::min(source.width, (x + 1) * factor); ++sx, ++count) {
                    const uint8_t* pixel = source.row(sy) + sx * source.channels;
                    const uint64_t weight = alpha ? pixel[3] : 1;
                    for (int c = 0; c < std::min(3, source.channels); ++c) sums[c] += pixel[c] * weight;
                    sums[3] += weight;
                }
            }
            const uint8_t* pixel = view.row(y) + x * view.channels;
            const uint64_t divisor = alpha ? sums[3] : count;
            for (int c = 0; c < std::min(3, source.channels); ++c)
                require(pixel[c] == (divisor ? (sums[c] + divisor / 2) / divisor : 0), "colour is the block mean");
            if (alpha) require(pixel[3] == (sums[3] + count / 2) / count, "alpha is the block mean");
        }
    }
}

void checkTurn(const PixelView& stored, int orientation)
{
    const ImageSize size = uprightSize(ImageSize{stored.width, stored.height}, orientation);
    PixelBuffer upright;
    require(upright.allocate(size.width, size.height, stored.channels), "room for the upright copy");
    require(copyUpright(stored, orientation, upright.mutableView()), "a fitting target takes the copy");
    const bool onSide = orientation >= 5 && orientation <= 8;
    const bool mirrorAcross = orientation == 2 || orientation == 3 || orientation == 6 || orientation == 7;
    const bool mirrorDown = orientation == 3 || orientation == 4 || orientation == 7 || orientation == 8;
    for (int32_t y = 0; y < stored.height; ++y) {
        for (int32_t x = 0; x < stored.width; ++x) {
            int32_t across = onSide ? y : x;
            int32_t down = onSide ? x : y;
            if (mirrorAcross) across = size.width - 1 - across;
            if (mirrorDown) down = size.height - 1 - down;
            require(std::memcmp(upright.view().row(down) + across * stored.channels, stored.row(y) + x * stored.channels,
                                static_cast<size_t>(stored.channels)) == 0,
                    "each pixel lands where the orientation puts it");
        }
    }
}

void checkScaling(const PixelView& source, int32_t width, int32_t height, bool oneColour)
{
    PixelBuffer scaled;
    require(scalePixels(source, width, height, scaled) == ScaleStatus::Scaled, "a valid picture scales");
    const PixelView view = scaled.view();
    require(view.width == width && view.height == height && view.channels == source.channels, "the asked size");
    if (!oneColour) return;
    // A colour nothing shows (alpha 0) need not survive; its alpha must.
    const bool invisible = source.channels == 4 && source.row(0)[3] == 0;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width * view.channels; ++x)
            if (!invisible || x % view.channels == 3)
                require(std::abs(view.row(y)[x] - source.row(0)[x % view.channels]) <= 1, "one colour stays one colour");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const Picture picture = consumePicture(data);
    const PixelView& view = picture.view;
    checkReduction(view, data.ConsumeIntegralInRange<int32_t>(1, 9));
    checkTurn(view, data.ConsumeIntegralInRange<int>(0, 9));
    const int32_t width = data.ConsumeIntegralInRange<int32_t>(1, 90);
    const int32_t height = data.ConsumeIntegralInRange<int32_t>(1, 90);
    bool oneColour = true;
    for (int32_t y = 0; y < view.height && oneColour; ++y)
        oneColour = std::memcmp(view.row(y), view.row(0), static_cast<size_t>(view.width * view.channels)) == 0;
    for (int32_t x = 1; x < view.width && oneColour; ++x)
        oneColour = std::memcmp(view.row(0) + x * view.channels, view.row(0), static_cast<size_t>(view.channels)) == 0;
    checkScaling(view, width, height, oneColour);
    return 0;
}

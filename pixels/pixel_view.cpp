#include "pixels/pixel_view.h"

#include <new>
#include <utility>

bool PixelBuffer::allocate(int32_t width, int32_t height, int32_t channels)
{
    bytes_.clear();
    width_ = height_ = channels_ = 0;
    if (width <= 0 || height <= 0 || channels <= 0) return false;
    const uint64_t count = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * static_cast<uint64_t>(channels);
    if (count > static_cast<uint64_t>(PTRDIFF_MAX)) return false;
    try {
        bytes_.resize(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        return false;
    }
    width_ = width;
    height_ = height;
    channels_ = channels;
    return true;
}

void swapRedAndBlue(uint8_t* row, int32_t width, int32_t channels)
{
    for (int32_t x = 0; x < width; ++x, row += channels) std::swap(row[0], row[2]);
}

bool expandGreyToBgr(const PixelView& grey, PixelBuffer& bgr)
{
    if (!grey.isValid() || grey.channels != 1 || !bgr.allocate(grey.width, grey.height, 3)) return false;
    const MutablePixelView target = bgr.mutableView();
    for (int32_t y = 0; y < grey.height; ++y) {
        const uint8_t* from = grey.row(y);
        uint8_t* to = target.row(y);
        for (int32_t x = 0; x < grey.width; ++x, to += 3) to[0] = to[1] = to[2] = from[x];
    }
    return true;
}

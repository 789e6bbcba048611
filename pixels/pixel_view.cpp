#include "pixels/pixel_view.h"

#include <new>

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

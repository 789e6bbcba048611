#include "pixels/pixel_view.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

constexpr size_t kLeastKeptBytes = 1 << 20;
constexpr size_t kMostKept = 3;
// Plain, so that nothing of it is left to run as the thread ends.
thread_local PixelBufferReuse* threadReuse = nullptr;

void keepForReuse(std::vector<uint8_t>& bytes)
{
    if (threadReuse) threadReuse->keep(bytes);
    bytes = std::vector<uint8_t>();
}

}  // namespace

PixelBufferReuse::PixelBufferReuse() : outer_(threadReuse)
{
    threadReuse = this;
}

PixelBufferReuse::~PixelBufferReuse()
{
    threadReuse = outer_;
}

void PixelBufferReuse::keep(std::vector<uint8_t>& bytes)
{
    if (bytes.capacity() < kLeastKeptBytes) return;
    try {
        if (kept_.size() == kMostKept) {
            // The smallest goes, unless the new one is smaller still.
            const auto smallest = std::min_element(kept_.begin(), kept_.end(), [](const auto& a, const auto& b) {
                return a.capacity() < b.capacity();
            });
            if (smallest->capacity() >= bytes.capacity()) return;
            kept_.erase(smallest);
        }
        kept_.push_back(std::move(bytes));
    } catch (const std::bad_alloc&) {
        // Not kept: freed as it would have been.
    }
}

std::vector<uint8_t> PixelBufferReuse::take(size_t count)
{
    auto best = kept_.end();
    for (auto kept = kept_.begin(); kept != kept_.end(); ++kept) {
        if (kept->capacity() >= count && (best == kept_.end() || kept->capacity() < best->capacity())) best = kept;
    }
    if (best == kept_.end()) return {};
    std::vector<uint8_t> taken = std::move(*best);
    kept_.erase(best);
    taken.clear();
    return taken;
}

PixelBuffer::~PixelBuffer()
{
    keepForReuse(bytes_);
}

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept
{
    if (this == &other) return *this;
    keepForReuse(bytes_);
    bytes_ = std::move(other.bytes_);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    channels_ = std::exchange(other.channels_, 0);
    return *this;
}

bool PixelBuffer::allocate(int32_t width, int32_t height, int32_t channels)
{
    keepForReuse(bytes_);
    width_ = height_ = channels_ = 0;
    if (width <= 0 || height <= 0 || channels <= 0) return false;
    const uint64_t count = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * static_cast<uint64_t>(channels);
    if (count > static_cast<uint64_t>(PTRDIFF_MAX)) return false;
    try {
        if (threadReuse && count >= kLeastKeptBytes) bytes_ = threadReuse->take(static_cast<size_t>(count));
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

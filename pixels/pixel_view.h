#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Pixels as the computing code sees them, whoever holds the memory: rows of
// width * channels bytes, stride bytes apart. One channel is grey; three are
// blue, green and red, the order Windows keeps; a fourth is alpha, not
// premultiplied.
template <typename Byte>
struct BasicPixelView {
    Byte* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    ptrdiff_t stride = 0;
    int32_t channels = 0;

    Byte* row(int32_t y) const { return pixels + y * stride; }
    // Something to read: a size, 1, 3 or 4 channels, and rows that hold them.
    bool isValid() const
    {
        return pixels && width > 0 && height > 0 && (channels == 1 || channels == 3 || channels == 4) &&
               (stride >= 0 ? stride : -stride) / channels >= width;
    }
};
using PixelView = BasicPixelView<const uint8_t>;
using MutablePixelView = BasicPixelView<uint8_t>;

// How much of the picture a view's pixels stand for, in its own pixels:
// less than its size when the last column or row holds only part of one, as
// after a shrink by a factor that does not divide the picture's sides.
struct PixelExtent {
    double width = 0;
    double height = 0;
};

// Tightly packed pixels of the computing code's own. While a
// PixelBufferReuse lives on the thread, its large buffers once freed are
// kept for the thread's next pictures.
class PixelBuffer {
public:
    PixelBuffer() = default;
    ~PixelBuffer();
    PixelBuffer(const PixelBuffer&) = default;
    PixelBuffer(PixelBuffer&&) noexcept = default;
    PixelBuffer& operator=(const PixelBuffer&) = default;
    PixelBuffer& operator=(PixelBuffer&& other) noexcept;

    // False, and nothing held, when the size is not a picture's or memory runs out.
    bool allocate(int32_t width, int32_t height, int32_t channels);

    PixelView view() const { return {bytes_.data(), width_, height_, stride(), channels_}; }
    MutablePixelView mutableView() { return {bytes_.data(), width_, height_, stride(), channels_}; }

private:
    ptrdiff_t stride() const { return static_cast<ptrdiff_t>(width_) * channels_; }

    std::vector<uint8_t> bytes_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t channels_ = 0;
};

// Pictures come one after another on a batch's worker, and a large block
// from the heap is fresh pages each time, which the system maps and zeroes:
// for a 12-megapixel photo that was a fifth of a batch's time under Wine.
// While one of these lives on a thread, the thread's few last large pixel
// buffers are kept for its next pictures; it frees them as it ends.
class PixelBufferReuse {
public:
    PixelBufferReuse();
    ~PixelBufferReuse();
    PixelBufferReuse(const PixelBufferReuse&) = delete;
    PixelBufferReuse& operator=(const PixelBufferReuse&) = delete;

    // Takes the storage where it is worth keeping.
    void keep(std::vector<uint8_t>& bytes);
    // The smallest kept storage that holds `count` bytes, emptied, or none.
    std::vector<uint8_t> take(size_t count);

private:
    std::vector<std::vector<uint8_t>> kept_;
    PixelBufferReuse* outer_;
};

// A row of BGR or BGRA pixels made RGB or RGBA in place, or back: the
// order PNG stores.
void swapRedAndBlue(uint8_t* row, int32_t width, int32_t channels);

// Grey pixels as BGR, for writers that take colour only; false when memory
// runs out or the view is not grey.
bool expandGreyToBgr(const PixelView& grey, PixelBuffer& bgr);

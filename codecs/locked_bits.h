#pragma once

#include <cstdint>

#include "codecs/gdiplus_headers.h"
#include "pixels/pixel_view.h"

// One LockBits lock on a whole bitmap, released once.
class LockedBits {
public:
    LockedBits(Gdiplus::Bitmap& bitmap, UINT mode, Gdiplus::PixelFormat format);
    LockedBits(const LockedBits&) = delete;
    LockedBits& operator=(const LockedBits&) = delete;
    ~LockedBits() { unlock(); }

    bool locked() const { return locked_; }
    unsigned char* row(UINT y) const
    {
        return static_cast<unsigned char*>(data_.Scan0) + static_cast<std::ptrdiff_t>(y) * data_.Stride;
    }
    // The locked pixels for the computing code, with as many bytes per pixel
    // as the locked format has.
    PixelView view(int32_t channels) const
    {
        const MutablePixelView locked = mutableView(channels);
        return {locked.pixels, locked.width, locked.height, locked.stride, locked.channels};
    }
    MutablePixelView mutableView(int32_t channels) const
    {
        return {static_cast<uint8_t*>(data_.Scan0), static_cast<int32_t>(data_.Width),
                static_cast<int32_t>(data_.Height), data_.Stride, channels};
    }
    // Written pixels reach the bitmap here, so a writer checks the result.
    bool unlock();

private:
    Gdiplus::Bitmap& bitmap_;
    Gdiplus::BitmapData data_ = {};
    bool locked_ = false;
};

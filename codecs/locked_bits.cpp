#include "codecs/locked_bits.h"

LockedBits::LockedBits(Gdiplus::Bitmap& bitmap, UINT mode, Gdiplus::PixelFormat format) : bitmap_(bitmap)
{
    const Gdiplus::Rect whole(0, 0, static_cast<INT>(bitmap.GetWidth()), static_cast<INT>(bitmap.GetHeight()));
    locked_ = bitmap.LockBits(&whole, mode, format, &data_) == Gdiplus::Ok;
}

bool LockedBits::unlock()
{
    if (!locked_) return false;
    locked_ = false;
    return bitmap_.UnlockBits(&data_) == Gdiplus::Ok;
}

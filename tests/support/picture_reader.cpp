#include "tests/support/picture_reader.h"

#include <windows.h>

#include <gdiplus.h>

using namespace Gdiplus;

std::optional<DecodedPicture> decodePicture(const std::wstring& path)
{
    Bitmap bitmap(path.c_str());
    if (bitmap.GetLastStatus() != Ok) return std::nullopt;
    DecodedPicture picture;
    picture.width = static_cast<int>(bitmap.GetWidth());
    picture.height = static_cast<int>(bitmap.GetHeight());
    const Rect whole(0, 0, picture.width, picture.height);
    BitmapData data = {};
    if (bitmap.LockBits(&whole, ImageLockModeRead, PixelFormat32bppARGB, &data) != Ok) return std::nullopt;
    picture.pixels.reserve(static_cast<size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const auto* row = static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
        for (int x = 0; x < picture.width; ++x) picture.pixels.push_back({row[4 * x + 2], row[4 * x + 1], row[4 * x], row[4 * x + 3]});
    }
    bitmap.UnlockBits(&data);
    return picture;
}

#include "tests/support/test_pictures.h"

#include <windows.h>

#include <gdiplus.h>

#include <vector>

#include "tests/support/file_system.h"
#include "tests/support/gdiplus_encoders.h"
#include "tests/support/utf8_conversion.h"

using namespace Gdiplus;

static const wchar_t* mimeTypeOf(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Jpeg: return L"image/jpeg";
    case PictureFormat::Png: return L"image/png";
    case PictureFormat::Gif: return L"image/gif";
    case PictureFormat::Bmp: return L"image/bmp";
    case PictureFormat::Tiff: return L"image/tiff";
    }
    return L"";
}

static int quadrantOf(int x, int y, int width, int height)
{
    return (y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1);
}

static Colour quadrantColour(const Quadrants& fill, int quadrant)
{
    const Colour colours[] = {fill.topLeft, fill.topRight, fill.bottomLeft, fill.bottomRight};
    return colours[quadrant];
}

static bool save(Bitmap& bitmap, const std::wstring& path, PictureFormat format)
{
    CLSID encoder = {};
    if (!findEncoder(mimeTypeOf(format), &encoder)) return false;
    return bitmap.Save(path.c_str(), &encoder, nullptr) == Ok;
}

// Writes the pixels from a bitmap in 24-bit RGB or, with alpha, 32-bit ARGB.
static bool writePixels(const std::wstring& path, int width, int height, PictureFormat format,
                        const std::function<Colour(int x, int y)>& pixel, bool withAlpha)
{
    const PixelFormat pixelFormat = withAlpha ? PixelFormat32bppARGB : PixelFormat24bppRGB;
    const int bytes = withAlpha ? 4 : 3;
    Bitmap bitmap(width, height, pixelFormat);
    if (bitmap.GetLastStatus() != Ok) return false;
    const Rect whole(0, 0, width, height);
    BitmapData data = {};
    if (bitmap.LockBits(&whole, ImageLockModeWrite, pixelFormat, &data) != Ok) return false;
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
        for (int x = 0; x < width; ++x) {
            const Colour colour = pixel(x, y);
            const int channels[] = {colour.blue, colour.green, colour.red, colour.alpha};
            for (int c = 0; c < bytes; ++c) row[bytes * x + c] = static_cast<BYTE>(channels[c]);
        }
    }
    if (bitmap.UnlockBits(&data) != Ok) return false;
    return save(bitmap, path, format);
}

bool makePicture(const std::wstring& path, int width, int height, PictureFormat format, const Quadrants& fill)
{
    if (format == PictureFormat::Gif) return makePalettePicture(path, width, height, format, fill);
    return writePixels(
        path, width, height, format,
        [&](int x, int y) { return quadrantColour(fill, quadrantOf(x, y, width, height)); }, false);
}

bool makePixelPicture(const std::wstring& path, int width, int height, PictureFormat format,
                      const std::function<Colour(int x, int y)>& pixel)
{
    return writePixels(path, width, height, format, pixel, true);
}

static bool setFourColourPalette(Bitmap& bitmap, const Quadrants& fill)
{
    // ColorPalette ends in a one-entry array that really holds Count entries.
    std::vector<BYTE> storage(sizeof(ColorPalette) + 3 * sizeof(ARGB));
    auto* palette = reinterpret_cast<ColorPalette*>(storage.data());
    palette->Flags = 0;
    palette->Count = 4;
    for (int i = 0; i < 4; ++i) {
        const Colour colour = quadrantColour(fill, i);
        palette->Entries[i] = Color::MakeARGB(255, static_cast<BYTE>(colour.red), static_cast<BYTE>(colour.green),
                                              static_cast<BYTE>(colour.blue));
    }
    return bitmap.SetPalette(palette) == Ok;
}

bool makePalettePicture(const std::wstring& path, int width, int height, PictureFormat format,
                        const Quadrants& fill)
{
    Bitmap bitmap(width, height, PixelFormat8bppIndexed);
    if (bitmap.GetLastStatus() != Ok || !setFourColourPalette(bitmap, fill)) return false;
    const Rect whole(0, 0, width, height);
    BitmapData data = {};
    if (bitmap.LockBits(&whole, ImageLockModeWrite, PixelFormat8bppIndexed, &data) != Ok) return false;
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
        for (int x = 0; x < width; ++x) row[x] = static_cast<BYTE>(quadrantOf(x, y, width, height));
    }
    if (bitmap.UnlockBits(&data) != Ok) return false;
    return save(bitmap, path, format);
}

bool savePicture(Picture& image, const Utf8String& path, PictureKind kind)
{
    std::vector<uint8_t> file;
    return image.encode(kind, file) && writeFileBytes(wideOf(path), Bytes(file.begin(), file.end()));
}

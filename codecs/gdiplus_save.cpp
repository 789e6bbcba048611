#include "codecs/gdiplus_save.h"

#include <cstring>
#include <memory>

#include "codecs/image_encoder.h"
#include "codecs/indexed_copy.h"
#include "codecs/locked_bits.h"

static std::unique_ptr<Gdiplus::Bitmap> bitmapOf(const PixelView& pixels)
{
    const Gdiplus::PixelFormat format = pixels.channels == 4 ? PixelFormat32bppARGB : PixelFormat24bppRGB;
    std::unique_ptr<Gdiplus::Bitmap> bitmap(new Gdiplus::Bitmap(pixels.width, pixels.height, format));
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
    LockedBits target(*bitmap, Gdiplus::ImageLockModeWrite, format);
    if (!target.locked()) return nullptr;
    const size_t rowBytes = static_cast<size_t>(pixels.width) * pixels.channels;
    for (int32_t y = 0; y < pixels.height; ++y) std::memcpy(target.row(y), pixels.row(y), rowBytes);
    if (!target.unlock()) return nullptr;
    return bitmap;
}

bool saveWithGdiplus(const PixelView& pixels, const Utf8String& path, const Utf8String& mimeType,
                     const std::vector<uint32_t>& sourcePalette)
{
    if (!pixels.isValid()) return false;
    CLSID encoder;
    if (findEncoderClsid(mimeType.toWide().units(), &encoder) < 0) return false;
    const std::unique_ptr<Gdiplus::Bitmap> bitmap = bitmapOf(pixels);
    if (!bitmap) return false;
    const QualityParameters parameters;
    if (std::strcmp(mimeType.text(), "image/gif") == 0) {
        // GIF holds 256 colours; a palette made here beats the halftone one
        // Windows' encoder uses, and Wine's writes no pixels without one.
        const std::unique_ptr<Gdiplus::Bitmap> indexed = makeIndexedCopy(*bitmap, sourcePalette);
        return indexed && indexed->Save(path.toWide().units(), &encoder, parameters.list()) == Gdiplus::Ok;
    }
    return bitmap->Save(path.toWide().units(), &encoder, parameters.list()) == Gdiplus::Ok;
}

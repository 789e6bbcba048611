#include "imaging/image_gdiplus.h"

#include <cstring>

#include "imaging/fit_size.h"
#include "imaging/image_encoder.h"
#include "imaging/indexed_copy.h"
#include "imaging/picture_orientation.h"

Gdiplus::PixelFormat drawingFormatFor(Gdiplus::PixelFormat sourceFormat)
{
    return Gdiplus::IsIndexedPixelFormat(sourceFormat) ? PixelFormat32bppARGB : sourceFormat;
}

bool ImageGDIPlus::load(const Utf8String& path)
{
    if (path.charCount() == 0) return false;
    picture_.reset();
    sourcePalette_.clear();
    picture_.reset(new Gdiplus::Image(path.toWide().units()));
    if (!picture_ || picture_->GetLastStatus() != Gdiplus::Ok) return false;
    sourcePalette_ = paletteOf(*picture_);
    turnUpright(*picture_);
    return true;
}

ImageSize ImageGDIPlus::size() const
{
    if (!picture_) return ImageSize();
    return ImageSize{static_cast<int32_t>(picture_->GetWidth()), static_cast<int32_t>(picture_->GetHeight())};
}

ImageSize ImageGDIPlus::fitSize(int32_t width, int32_t height) const
{
    const ImageSize picture = size();
    return fitToBox(picture.width, picture.height, width, height);
}

// One draw of the whole source into a new bitmap; null when GDI+ cannot make
// the bitmap, give a drawing context on it, or draw.
static std::unique_ptr<Gdiplus::Bitmap> drawScaled(Gdiplus::Image& source, int32_t width, int32_t height,
                                                   Gdiplus::PixelFormat format)
{
    std::unique_ptr<Gdiplus::Bitmap> bitmap(new Gdiplus::Bitmap(width, height, format));
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;

    Gdiplus::Graphics graphics(bitmap.get());
    if (graphics.GetLastStatus() != Gdiplus::Ok) return nullptr;
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeBicubic);
    // Tiling the source mirrored keeps bicubic sampling from blending the
    // border with transparent black, which leaves a dark frame.
    Gdiplus::ImageAttributes attributes;
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    const Gdiplus::Rect target(0, 0, width, height);
    const Gdiplus::Status drawn =
        graphics.DrawImage(&source, target, 0, 0, static_cast<INT>(source.GetWidth()),
                           static_cast<INT>(source.GetHeight()), Gdiplus::UnitPixel, &attributes);
    if (drawn != Gdiplus::Ok) return nullptr;
    return bitmap;
}

bool ImageGDIPlus::scale(int32_t width, int32_t height)
{
    if (!picture_ || !isDrawableSize(width, height)) return false;
    const Gdiplus::PixelFormat format = drawingFormatFor(picture_->GetPixelFormat());
    std::unique_ptr<Gdiplus::Bitmap> scaled = drawScaled(*picture_, width, height, format);
    // Some formats that are not indexed give no drawing context either.
    if (!scaled && format != PixelFormat32bppARGB)
        scaled = drawScaled(*picture_, width, height, PixelFormat32bppARGB);
    if (!scaled) return false;
    picture_ = std::move(scaled);
    return true;
}

bool ImageGDIPlus::save(const Utf8String& path, const Utf8String& mimeType) const
{
    if (!picture_) return false;
    const QualityParameters parameters;
    const Utf8String type = mimeType.charCount() > 0 ? mimeType : Utf8String::fromAnsi("image/jpeg");
    CLSID encoder;
    if (findEncoderClsid(type.toWide().units(), &encoder) < 0) return false;
    if (std::strcmp(type.text(), "image/gif") == 0) {
        // GIF holds 256 colours; a palette made here beats the halftone one
        // Windows' encoder uses, and Wine's writes no pixels without one.
        const std::unique_ptr<Gdiplus::Bitmap> indexed = makeIndexedCopy(*picture_, sourcePalette_);
        return indexed && indexed->Save(path.toWide().units(), &encoder, parameters.list()) == Gdiplus::Ok;
    }
    return picture_->Save(path.toWide().units(), &encoder, parameters.list()) == Gdiplus::Ok;
}

#include "imaging/picture.h"

#include <cstring>

#include "base/win32_handles.h"
#include "codecs/exif_orientation.h"
#include "imaging/fit_size.h"
#include "codecs/image_encoder.h"
#include "codecs/indexed_copy.h"
#include "codecs/locked_bits.h"
#include "pixels/resampler.h"
#include "pixels/upright_turn.h"

// Cameras and phones record how to turn a photo instead of turning its
// pixels; the tag stands near the start of the file, so only that is read.
static int orientationOfFile(const wchar_t* path)
{
    const FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 1;
    std::vector<uint8_t> head(kExifSearchBytes);
    DWORD read = 0;
    if (!ReadFile(file.get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr)) return 1;
    return exifOrientation(head.data(), read);
}

bool Picture::load(const Utf8String& path)
{
    if (path.charCount() == 0) return false;
    picture_.reset();
    sourcePalette_.clear();
    const WideBuffer widePath = path.toWide();
    orientation_ = orientationOfFile(widePath.units());
    if (GetFileAttributesW(widePath.units()) == INVALID_FILE_ATTRIBUTES) {
        failure_ = ResizeOutcome::Unreadable;
        return false;
    }
    picture_.reset(new Gdiplus::Bitmap(widePath.units()));
    if (!picture_ || picture_->GetLastStatus() != Gdiplus::Ok) {
        failure_ = ResizeOutcome::NotAPicture;
        return false;
    }
    sourcePalette_ = paletteOf(*picture_);
    return true;
}

ImageSize Picture::size() const
{
    if (!picture_) return ImageSize();
    const ImageSize stored{static_cast<int32_t>(picture_->GetWidth()), static_cast<int32_t>(picture_->GetHeight())};
    return uprightSize(stored, orientation_);
}

ImageSize Picture::fitSize(int32_t width, int32_t height) const
{
    const ImageSize picture = size();
    return fitToBox(picture.width, picture.height, width, height);
}

// Palette pictures may hold transparent colours, so they are read with alpha too.
static bool mayHoldAlpha(Gdiplus::PixelFormat format)
{
    return Gdiplus::IsAlphaPixelFormat(format) || Gdiplus::IsIndexedPixelFormat(format);
}

bool Picture::scale(int32_t width, int32_t height)
{
    // Whatever stops a scale of a loaded picture is its size.
    failure_ = ResizeOutcome::TooLarge;
    if (!picture_ || !isDrawableSize(width, height)) return false;
    // Three channels where there is no alpha: JPEGs decode to 24-bit RGB,
    // which GDI+ then hands over without converting.
    const bool alpha = mayHoldAlpha(picture_->GetPixelFormat());
    const Gdiplus::PixelFormat format = alpha ? PixelFormat32bppARGB : PixelFormat24bppRGB;
    const int32_t channels = alpha ? 4 : 3;

    // Scaled as stored, so that only the small copy is turned upright; the
    // stored size is the upright one turned back.
    const ImageSize stored = uprightSize(ImageSize{width, height}, orientation_);
    PixelBuffer scaled;
    {
        LockedBits source(*picture_, Gdiplus::ImageLockModeRead, format);
        if (!source.locked() || !scalePixels(source.view(channels), stored.width, stored.height, scaled)) return false;
    }
    std::unique_ptr<Gdiplus::Bitmap> copy(new Gdiplus::Bitmap(width, height, format));
    if (!copy || copy->GetLastStatus() != Gdiplus::Ok) return false;
    LockedBits target(*copy, Gdiplus::ImageLockModeWrite, format);
    if (!target.locked() || !copyUpright(scaled.view(), orientation_, target.mutableView(channels)) || !target.unlock())
        return false;
    picture_ = std::move(copy);
    orientation_ = 1;
    return true;
}

bool Picture::save(const Utf8String& path, const Utf8String& mimeType)
{
    failure_ = ResizeOutcome::Unwritable;
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

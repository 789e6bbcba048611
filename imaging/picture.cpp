#include "imaging/picture.h"

#include <cstring>

#include "base/app_state.h"
#include "codecs/file_source.h"
#include "codecs/gdiplus_save.h"
#include "codecs/indexed_copy.h"
#include "codecs/jpeg_encoder.h"
#include "codecs/jpeg_metadata.h"
#include "codecs/locked_bits.h"
#include "codecs/picture_signature.h"
#include "imaging/fit_size.h"
#include "pixels/resampler.h"
#include "pixels/upright_turn.h"

Picture::Picture() = default;
Picture::~Picture() = default;

bool Picture::fail(ResizeOutcome why)
{
    failure_ = why;
    return false;
}

void Picture::clear()
{
    jpeg_.reset();
    jpegFile_.reset();
    gdiplusSource_.reset();
    storedSize_ = ImageSize();
    copy_ = PixelBuffer();
    scaled_ = false;
    segments_.clear();
    sourcePalette_.clear();
    orientation_ = 1;
}

static ResizeOutcome outcomeOf(DecodeStatus status)
{
    switch (status) {
    case DecodeStatus::TooLarge:
        return ResizeOutcome::TooLarge;
    case DecodeStatus::OutOfMemory:
        return ResizeOutcome::OutOfMemory;
    case DecodeStatus::Decoded:
    case DecodeStatus::Corrupt:
    case DecodeStatus::NotForThisDecoder:
        break;
    }
    return ResizeOutcome::Unreadable;
}

bool Picture::load(const Utf8String& path)
{
    if (path.charCount() == 0) return fail(ResizeOutcome::Unreadable);
    clear();
    const WideBuffer widePath = path.toWide();
    std::unique_ptr<FileSource> file(new FileSource(widePath.units()));
    if (!file->opened()) return fail(ResizeOutcome::Unreadable);
    // Whatever its name says, a file that starts as a JPEG is read as one.
    std::unique_ptr<JpegDecoder> decoder(new JpegDecoder);
    const DecodeStatus header = decoder->readHeader(*file);
    if (header == DecodeStatus::Decoded) {
        segments_ = decoder->segments();
        orientation_ = orientationOfSegments(segments_);
        storedSize_ = decoder->storedSize();
        jpegFile_ = std::move(file);
        jpeg_ = std::move(decoder);
        return true;
    }
    if (header != DecodeStatus::NotForThisDecoder) return fail(outcomeOf(header));
    decoder.reset();
    file.reset();
    return loadWithGdiplus(widePath.units());
}

// CMYK and other JPEGs that libjpeg-turbo refuses: their colour profile
// describes colours the RGB copy no longer has, so only the rest is kept.
static JpegSegments withoutColourProfile(JpegSegments segments)
{
    JpegSegments kept;
    for (JpegSegment& segment : segments) {
        if (segment.marker != 0xE2) kept.push_back(std::move(segment));
    }
    return kept;
}

bool Picture::loadWithGdiplus(const wchar_t* path)
{
    uint8_t head[kSignatureBytes] = {};
    FileSource(path).read(head, sizeof head);
    // Only a JPEG has segments to walk; GDI+ reads everything else on its own.
    if (isJpegSignature(head, sizeof head)) {
        FileSource file(path);
        JpegSegments segments;
        if (readHeadSegments(file, segments)) {
            orientation_ = orientationOfSegments(segments);
            segments_ = withoutColourProfile(std::move(segments));
        }
    }
    if (!startGdiplus()) return fail(ResizeOutcome::NotAPicture);
    gdiplusSource_.reset(new Gdiplus::Bitmap(path));
    const Gdiplus::Status status = gdiplusSource_ ? gdiplusSource_->GetLastStatus() : Gdiplus::OutOfMemory;
    if (status != Gdiplus::Ok) {
        gdiplusSource_.reset();
        // GDI+ says "out of memory" for files it cannot read at all too.
        const bool picture = isPictureSignature(head, sizeof head);
        return fail(picture && status == Gdiplus::OutOfMemory ? ResizeOutcome::OutOfMemory : ResizeOutcome::NotAPicture);
    }
    storedSize_ = ImageSize{static_cast<int32_t>(gdiplusSource_->GetWidth()),
                            static_cast<int32_t>(gdiplusSource_->GetHeight())};
    sourcePalette_ = paletteOf(*gdiplusSource_);
    return true;
}

ImageSize Picture::size() const
{
    if (scaled_) return ImageSize{copy_.view().width, copy_.view().height};
    if (!jpeg_ && !gdiplusSource_) return ImageSize();
    return uprightSize(storedSize_, orientation_);
}

ImageSize Picture::fitSize(int32_t width, int32_t height) const
{
    const ImageSize picture = size();
    return fitToBox(picture.width, picture.height, width, height);
}

// Doubling a side never needs more than what an int32_t holds.
static int32_t twice(int32_t side)
{
    return side > INT32_MAX / 2 ? INT32_MAX : side * 2;
}

static ResizeOutcome outcomeOf(ScaleStatus status)
{
    return status == ScaleStatus::TooLarge ? ResizeOutcome::TooLarge : ResizeOutcome::OutOfMemory;
}

static void scaleDecodedRows(void* context, int32_t rows)
{
    static_cast<StreamedScale*>(context)->rowsFilled(rows);
}

bool Picture::scaleJpeg(const ImageSize& stored, PixelBuffer& scaled)
{
    // The inverse DCT shrinks to no less than twice the copy, which leaves
    // the resampler enough to keep fine detail clean.
    const DecodeStatus started = jpeg_->start(ImageSize{twice(stored.width), twice(stored.height)});
    if (started != DecodeStatus::Decoded) return fail(outcomeOf(started));
    const ImageSize size = jpeg_->decodedSize();
    PixelBuffer decoded;
    if (!decoded.allocate(size.width, size.height, jpeg_->channels())) return fail(ResizeOutcome::OutOfMemory);
    // The resampler takes the rows as libjpeg hands them out.
    StreamedScale scaling;
    const ScaleStatus begun = scaling.begin(decoded.view(), jpeg_->decodedExtent(), stored.width, stored.height);
    if (begun != ScaleStatus::Scaled) return fail(outcomeOf(begun));
    const RowsDecoded toScaling{scaleDecodedRows, &scaling};
    const DecodeStatus read = jpeg_->readPixels(decoded.mutableView(), &toScaling);
    jpeg_.reset();
    jpegFile_.reset();
    if (read != DecodeStatus::Decoded) return fail(outcomeOf(read));
    const ScaleStatus finished = scaling.finish(scaled);
    return finished == ScaleStatus::Scaled || fail(outcomeOf(finished));
}

// Palette pictures may hold transparent colours, so they are read with alpha too.
static bool mayHoldAlpha(Gdiplus::PixelFormat format)
{
    return Gdiplus::IsAlphaPixelFormat(format) || Gdiplus::IsIndexedPixelFormat(format);
}

bool Picture::scaleGdiplus(const ImageSize& stored, PixelBuffer& scaled)
{
    // Three channels where there is no alpha: JPEGs decode to 24-bit RGB,
    // which GDI+ then hands over without converting.
    const bool alpha = mayHoldAlpha(gdiplusSource_->GetPixelFormat());
    LockedBits source(*gdiplusSource_, Gdiplus::ImageLockModeRead, alpha ? PixelFormat32bppARGB : PixelFormat24bppRGB);
    if (!source.locked()) return fail(ResizeOutcome::OutOfMemory);
    const ScaleStatus status = scalePixels(source.view(alpha ? 4 : 3), stored.width, stored.height, scaled);
    return status == ScaleStatus::Scaled || fail(outcomeOf(status));
}

bool Picture::scale(int32_t width, int32_t height)
{
    if (!jpeg_ && !gdiplusSource_) return fail(ResizeOutcome::NotAPicture);
    if (!isDrawableSize(width, height)) return fail(ResizeOutcome::TooLarge);
    // Scaled as stored, so that only the small copy is turned upright; the
    // stored size is the upright one turned back.
    const ImageSize stored = uprightSize(ImageSize{width, height}, orientation_);
    PixelBuffer scaled;
    if (!(jpeg_ ? scaleJpeg(stored, scaled) : scaleGdiplus(stored, scaled))) return false;
    gdiplusSource_.reset();
    if (orientation_ == 1) {
        copy_ = std::move(scaled);
    } else if (!copy_.allocate(width, height, scaled.view().channels) ||
               !copyUpright(scaled.view(), orientation_, copy_.mutableView())) {
        return fail(ResizeOutcome::OutOfMemory);
    }
    scaled_ = true;
    return true;
}

bool Picture::save(const Utf8String& path, const Utf8String& mimeType)
{
    // A picture saved as loaded is the copy of its own size.
    if (!scaled_) {
        const ImageSize shown = size();
        if (!scale(shown.width, shown.height)) return false;
    }
    const Utf8String type = mimeType.charCount() > 0 ? mimeType : Utf8String::fromAnsi("image/jpeg");
    if (std::strcmp(type.text(), "image/jpeg") != 0) {
        if (!startGdiplus()) return fail(ResizeOutcome::Unwritable);
        // GDI+ writes colour only; the grey copy of a grey JPEG gets three equal channels.
        PixelBuffer colour;
        if (copy_.view().channels == 1 && !expandGreyToBgr(copy_.view(), colour))
            return fail(ResizeOutcome::OutOfMemory);
        const PixelView pixels = copy_.view().channels == 1 ? colour.view() : copy_.view();
        return saveWithGdiplus(pixels, path, type, sourcePalette_) || fail(ResizeOutcome::Unwritable);
    }
    const ImageSize copySize = size();
    if (copySize.width > kJpegLargestSide || copySize.height > kJpegLargestSide)
        return fail(ResizeOutcome::TooLarge);
    std::vector<uint8_t> file;
    if (!encodeJpeg(copy_.view(), segmentsForCopy(segments_, orientation_ != 1, copySize), file))
        return fail(ResizeOutcome::OutOfMemory);
    return writeWholeFile(path.toWide().units(), file.data(), file.size()) || fail(ResizeOutcome::Unwritable);
}

#include "imaging/picture.h"

#include "codecs/bmp_encoder.h"
#include "codecs/file_source.h"
#include "codecs/jpeg_encoder.h"
#include "codecs/jpeg_metadata.h"
#include "codecs/location_removal.h"
#include "codecs/picture_codecs.h"
#include "codecs/png_encoder.h"
#include "codecs/profile_fit.h"
#include "codecs/webp_encoder.h"
#include "codecs/wic_decoder.h"
#include "codecs/wic_encoder.h"
#include "imaging/copy_format.h"
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
    decoder_.reset();
    sourceKind_ = PictureKind::Other;
    storedSize_ = ImageSize();
    orientation_ = 1;
    metadata_ = PictureMetadata();
    lossless_ = false;
    sourcePalette_.clear();
    copy_ = PixelBuffer();
    scaled_ = false;
}

static ResizeOutcome outcomeOf(DecodeStatus status)
{
    switch (status) {
    case DecodeStatus::NotForThisDecoder:
        return ResizeOutcome::NotAPicture;
    case DecodeStatus::NoInstalledCodec:
        return ResizeOutcome::NoInstalledCodec;
    case DecodeStatus::TooLarge:
        return ResizeOutcome::TooLarge;
    case DecodeStatus::OutOfMemory:
        return ResizeOutcome::OutOfMemory;
    case DecodeStatus::Decoded:
    case DecodeStatus::Corrupt:
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
    uint8_t head[kHeadBytes] = {};
    const size_t headCount = FileSource(widePath.units()).read(head, sizeof head);

    // Whatever its name says, a file is read by the codec its first bytes name.
    DecodeStatus status = openOwnDecoder(head, headCount, std::move(file), decoder_);
    if (status == DecodeStatus::NotForThisDecoder) {
        std::unique_ptr<WicDecoder> windows(new WicDecoder);
        status = windows->open(widePath.units());
        if (status == DecodeStatus::Decoded) {
            sourcePalette_ = windows->palette();
            decoder_ = std::move(windows);
        } else if (status == DecodeStatus::NotForThisDecoder && needsAnInstalledCodec(head, headCount)) {
            status = DecodeStatus::NoInstalledCodec;
        }
    }
    if (status != DecodeStatus::Decoded) {
        decoder_.reset();
        return fail(outcomeOf(status));
    }
    sourceKind_ = decoder_->kind();
    storedSize_ = decoder_->storedSize();
    orientation_ = decoder_->orientation();
    metadata_ = decoder_->metadata();
    lossless_ = decoder_->isLossless();
    return true;
}

ImageSize Picture::size() const
{
    if (scaled_) return ImageSize{copy_.view().width, copy_.view().height};
    if (!decoder_) return ImageSize();
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

bool Picture::scaleDecoded(const ImageSize& stored, PixelBuffer& scaled)
{
    // The decoder shrinks to no less than twice the copy, which leaves the
    // resampler enough to keep fine detail clean.
    const DecodeStatus started = decoder_->start(ImageSize{twice(stored.width), twice(stored.height)});
    if (started != DecodeStatus::Decoded) return fail(outcomeOf(started));
    const ImageSize size = decoder_->decodedSize();
    PixelBuffer decoded;
    if (!decoded.allocate(size.width, size.height, decoder_->channels())) return fail(ResizeOutcome::OutOfMemory);
    // The resampler takes the rows as the decoder hands them out.
    StreamedScale scaling;
    const ScaleStatus begun = scaling.begin(decoded.view(), decoder_->decodedExtent(), stored.width, stored.height);
    if (begun != ScaleStatus::Scaled) return fail(outcomeOf(begun));
    const RowsDecoded toScaling{scaleDecodedRows, &scaling};
    const DecodeStatus read = decoder_->readPixels(decoded.mutableView(), &toScaling);
    // What follows the pixels in the file (a PNG's late Exif and XMP) is known now.
    if (read == DecodeStatus::Decoded) metadata_ = decoder_->metadata();
    decoder_.reset();
    if (read != DecodeStatus::Decoded) return fail(outcomeOf(read));
    const ScaleStatus finished = scaling.finish(scaled);
    return finished == ScaleStatus::Scaled || fail(outcomeOf(finished));
}

bool Picture::scale(int32_t width, int32_t height)
{
    if (!decoder_) return fail(ResizeOutcome::NotAPicture);
    if (!isDrawableSize(width, height)) return fail(ResizeOutcome::TooLarge);
    // Scaled as stored, so that only the small copy is turned upright; the
    // stored size is the upright one turned back.
    const ImageSize stored = uprightSize(ImageSize{width, height}, orientation_);
    PixelBuffer scaled;
    if (!scaleDecoded(stored, scaled)) return false;
    if (orientation_ == 1) {
        copy_ = std::move(scaled);
    } else if (!copy_.allocate(width, height, scaled.view().channels) ||
               !copyUpright(scaled.view(), orientation_, copy_.mutableView())) {
        return fail(ResizeOutcome::OutOfMemory);
    }
    scaled_ = true;
    return true;
}

PictureKind Picture::copyKind(CopyKind asked) const
{
    switch (asked) {
    case CopyKind::Jpeg: return PictureKind::Jpeg;
    case CopyKind::Png: return PictureKind::Png;
    case CopyKind::WebP: return PictureKind::WebP;
    case CopyKind::AsPicture: break;
    }
    return copyKindFor(sourceKind_, copy_.view());
}

// What each kind of copy is written by: JPEG by libjpeg-turbo, PNG by
// libspng, WebP by libwebp, BMP by the program itself (Windows' encoder
// drops alpha), the others by Windows.
static bool encodeCopy(PictureKind kind, const PixelView& pixels, const PictureMetadata& kept, bool lossless,
                       int32_t quality, const std::vector<uint32_t>& sourcePalette, std::vector<uint8_t>& file)
{
    if (kind == PictureKind::Jpeg)
        return encodeJpeg(pixels, segmentsOfCopy(kept), file, quality > 0 ? quality : kJpegQuality);
    if (kind == PictureKind::Png) return encodePng(pixels, kept, file);
    if (kind == PictureKind::WebP)
        return encodeWebp(pixels, kept, lossless, file, quality > 0 ? quality : kWebpQuality);
    if (kind == PictureKind::Bmp) return encodeBmp(pixels, kept.colourProfile, file);
    return encodeWithWic(kind, pixels, kept.colourProfile, sourcePalette, file);
}

// The longest side a copy of the kind can have.
static int32_t largestSideOf(PictureKind kind)
{
    if (kind == PictureKind::Jpeg) return kJpegLargestSide;
    if (kind == PictureKind::WebP) return kWebpLargestSide;
    return INT32_MAX;
}

bool Picture::encode(PictureKind kind, std::vector<uint8_t>& file, const PresetOptions& options)
{
    // A picture saved as loaded is the copy of its own size.
    if (!scaled_) {
        const ImageSize shown = size();
        if (!scale(shown.width, shown.height)) return false;
    }
    const ImageSize copySize = size();
    const int32_t side = largestSideOf(kind);
    if (copySize.width > side || copySize.height > side) return fail(ResizeOutcome::TooLarge);
    PictureMetadata kept =
        metadataForCopy(metadata_, orientation_ != 1, copySize, copyChannels(kind, copy_.view().channels));
    keepOnly(options.details, kept);
    if (!encodeCopy(kind, copy_.view(), kept, lossless_, options.quality, sourcePalette_, file))
        return fail(kind == PictureKind::Jpeg || kind == PictureKind::Png || kind == PictureKind::WebP ||
                            kind == PictureKind::Bmp
                        ? ResizeOutcome::OutOfMemory
                        : ResizeOutcome::Unwritable);
    return true;
}


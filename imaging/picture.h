#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "codecs/gdiplus_headers.h"
#include "codecs/jpeg_decoder.h"
#include "codecs/jpeg_segment.h"
#include "imaging/resize_outcome.h"
#include "pixels/pixel_view.h"
#include "settings/image_size.h"
#include "text/utf8_string.h"

class FileSource;

// The one picture of a resize run. A JPEG is decoded by libjpeg-turbo, only
// once the copy's size is known, so that its inverse DCT does most of the
// shrinking; anything else, and the JPEGs libjpeg-turbo refuses, by GDI+.
// The copy is scaled by the computing code and written as JPEG by
// libjpeg-turbo, in any other format by GDI+. Objects on different threads
// share nothing.
class Picture {
public:
    Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    virtual ~Picture();

    bool load(const Utf8String& path);
    // Fits the picture as it is shown, upright by its Exif orientation.
    ImageSize fitSize(int32_t width, int32_t height) const;
    // Replaces the picture by an upright copy of exactly that size.
    bool scale(int32_t width, int32_t height);
    // JPEG when the MIME type is empty.
    bool save(const Utf8String& path, const Utf8String& mimeType);

    // The held picture's size as it is shown; 0 by 0 when nothing usable is held.
    ImageSize size() const;
    // Why the last load, scale or save that failed did.
    ResizeOutcome failure() const { return failure_; }

private:
    void clear();
    bool loadWithGdiplus(const wchar_t* path);
    bool scaleJpeg(const ImageSize& stored, PixelBuffer& scaled);
    bool scaleGdiplus(const ImageSize& stored, PixelBuffer& scaled);
    bool fail(ResizeOutcome why);

    // Until the scale: the source, either waiting in libjpeg-turbo after its
    // header or decoded whole by GDI+.
    std::unique_ptr<FileSource> jpegFile_;
    std::unique_ptr<JpegDecoder> jpeg_;
    std::unique_ptr<Gdiplus::Bitmap> gdiplusSource_;
    ImageSize storedSize_;
    // After the scale: the upright copy.
    PixelBuffer copy_;
    bool scaled_ = false;

    // What a JPEG source says about itself, which a JPEG copy keeps.
    JpegSegments segments_;
    // The palette of an indexed source, which GIF copies keep.
    std::vector<uint32_t> sourcePalette_;
    // How the source's pixels are stored (Exif orientation).
    int orientation_ = 1;
    ResizeOutcome failure_ = ResizeOutcome::Written;
};

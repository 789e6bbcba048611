#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "codecs/gdiplus_headers.h"
#include "imaging/resize_outcome.h"
#include "settings/image_size.h"
#include "text/utf8_string.h"

// The one picture of a resize run: decoded and saved through GDI+, scaled by
// the computing code. GDI+ must be running for as long as the object exists;
// objects on different threads share nothing.
class Picture {
public:
    Picture() = default;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    virtual ~Picture() = default;

    bool load(const Utf8String& path);
    // Fits the picture as it is shown, upright by its Exif orientation.
    ImageSize fitSize(int32_t width, int32_t height) const;
    // Replaces the picture by an upright copy of exactly that size.
    bool scale(int32_t width, int32_t height);
    bool save(const Utf8String& path, const Utf8String& mimeType);

    // The held picture's size as it is shown; 0 by 0 when nothing usable is held.
    ImageSize size() const;
    // Why the last load, scale or save that failed did.
    ResizeOutcome failure() const { return failure_; }

private:
    std::unique_ptr<Gdiplus::Bitmap> picture_;
    // The palette of an indexed source, which GIF copies keep.
    std::vector<uint32_t> sourcePalette_;
    // How the held picture's pixels are stored (Exif orientation); a scaled copy is upright.
    int orientation_ = 1;
    ResizeOutcome failure_ = ResizeOutcome::Written;
};

#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/gdiplus_headers.h"
#include "settings/image_size.h"
#include "text/utf8_string.h"

// The one picture of a resize run: loaded, measured, scaled and saved through
// GDI+. GDI+ must be running for as long as the object exists.
class ImageGDIPlus {
public:
    ImageGDIPlus() = default;
    ImageGDIPlus(const ImageGDIPlus&) = delete;
    ImageGDIPlus& operator=(const ImageGDIPlus&) = delete;
    virtual ~ImageGDIPlus() = default;

    bool load(const Utf8String& path);
    ImageSize fitSize(int32_t width, int32_t height) const;
    bool scale(int32_t width, int32_t height);
    bool save(const Utf8String& path, const Utf8String& mimeType) const;

    // The held picture's size; 0 by 0 when nothing usable is held.
    ImageSize size() const;

private:
    std::unique_ptr<Gdiplus::Image> picture_;
    // The palette of an indexed source, which GIF copies keep.
    std::vector<uint32_t> sourcePalette_;
};

// The format a scaled copy is drawn in: GDI+ gives no drawing context on an
// indexed (palette) bitmap, so those are drawn in 32-bit ARGB.
Gdiplus::PixelFormat drawingFormatFor(Gdiplus::PixelFormat sourceFormat);

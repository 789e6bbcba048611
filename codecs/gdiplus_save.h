#pragma once

#include <cstdint>
#include <vector>

#include "pixels/pixel_view.h"
#include "text/utf8_string.h"

// Encodes the pixels (BGR, or BGRA not premultiplied) into the file at path
// with GDI+'s encoder for the MIME type, at quality 95. A GIF gets a palette
// of its own, keeping sourcePalette where it can show the picture.
bool saveWithGdiplus(const PixelView& pixels, const Utf8String& path, const Utf8String& mimeType,
                     const std::vector<uint32_t>& sourcePalette);

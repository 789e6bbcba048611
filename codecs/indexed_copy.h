#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "codecs/gdiplus_headers.h"

// The palette of an indexed picture as 0xAARRGGBB colours; empty for any other.
std::vector<uint32_t> paletteOf(Gdiplus::Image& picture);

// An 8-bit palette copy of the picture: the form GIF encoders take best, and
// the only one Wine's encoder writes pixels for. sourcePalette is kept where
// it can show the picture. Null when GDI+ or memory fails.
std::unique_ptr<Gdiplus::Bitmap> makeIndexedCopy(Gdiplus::Bitmap& picture, const std::vector<uint32_t>& sourcePalette);

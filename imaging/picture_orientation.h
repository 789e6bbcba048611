#pragma once

#include <cstdint>

#include "imaging/gdiplus_headers.h"

// The turn that shows a picture upright by its EXIF orientation (1 to 8);
// any other value leaves it as it is.
Gdiplus::RotateFlipType rotateFlipForOrientation(uint16_t orientation);

// Cameras and phones record the orientation instead of turning the pixels,
// and GDI+ ignores it; no metadata reaches the copy, so the turn is applied.
void turnUpright(Gdiplus::Image& picture);

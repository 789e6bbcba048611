#pragma once

#include "settings/image_size.h"

// The size that keeps the picture's proportions and fits the box: one side
// fills the box, the other is the exact proportion rounded to the nearest
// pixel (halves up), never past the box and never below 1. Smaller pictures
// are enlarged. A picture or box without a positive size gives the box.
ImageSize fitToBox(int32_t pictureWidth, int32_t pictureHeight, int32_t boxWidth, int32_t boxHeight);

// Whether a copy of this size can be drawn at all: its 32-bit pixels must stay
// within the 2 GiB that GDI+ counts with an int, or its size arithmetic
// overflows and encoders read far outside the bitmap.
bool isDrawableSize(int32_t width, int32_t height);

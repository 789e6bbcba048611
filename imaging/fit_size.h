#pragma once

#include "settings/image_size.h"

// The size that keeps the picture's proportions and fits the box: one side
// fills the box, the other is computed from single-precision ratios and
// truncated toward zero. Smaller pictures are enlarged.
ImageSize fitToBox(int32_t pictureWidth, int32_t pictureHeight, int32_t boxWidth, int32_t boxHeight);

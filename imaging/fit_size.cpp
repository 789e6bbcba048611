#include "imaging/fit_size.h"

#include <cstdint>

// side * numerator / denominator rounded to the nearest whole pixel, halves
// up, but never below 1, so that a very thin picture still gets a copy. All
// three are positive 32-bit values, so the product fits in 64 bits; the
// caller makes sure the quotient is below the box side it is fitted to.
static int32_t scaledSide(int32_t side, int32_t numerator, int32_t denominator)
{
    const int64_t product = static_cast<int64_t>(side) * numerator;
    int64_t quotient = product / denominator;
    if (2 * (product % denominator) >= denominator) ++quotient;
    return quotient < 1 ? 1 : static_cast<int32_t>(quotient);
}

ImageSize fitToBox(int32_t pictureWidth, int32_t pictureHeight, int32_t boxWidth, int32_t boxHeight)
{
    if (pictureWidth <= 0 || pictureHeight <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return ImageSize{boxWidth, boxHeight};
    // The proportions compared exactly: w/h against W/H as w*H against W*h.
    const int64_t pictureByBox = static_cast<int64_t>(pictureWidth) * boxHeight;
    const int64_t boxByPicture = static_cast<int64_t>(boxWidth) * pictureHeight;
    if (pictureByBox == boxByPicture) return ImageSize{boxWidth, boxHeight};
    // Wider than the box: the width fills it, and the exact height, below the
    // box's, rounds at most up to it.
    if (pictureByBox > boxByPicture) return ImageSize{boxWidth, scaledSide(boxWidth, pictureHeight, pictureWidth)};
    return ImageSize{scaledSide(boxHeight, pictureWidth, pictureHeight), boxHeight};
}

bool isDrawableSize(int32_t width, int32_t height)
{
    return width > 0 && height > 0 && static_cast<int64_t>(width) * height <= INT32_MAX / 4;
}

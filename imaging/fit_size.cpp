#include "imaging/fit_size.h"

#include <cstdint>

// Truncates toward zero, but never below 1 pixel, so that a very thin picture
// still gets a copy, and never beyond what an int32_t holds.
static int32_t computedSide(double side)
{
    if (!(side >= 1.0)) return 1;
    if (side >= 2147483647.0) return INT32_MAX;
    return static_cast<int32_t>(side);
}

ImageSize fitToBox(int32_t pictureWidth, int32_t pictureHeight, int32_t boxWidth, int32_t boxHeight)
{
    if (pictureWidth <= 0 || pictureHeight <= 0) return ImageSize{boxWidth, boxHeight};
    const auto pictureRatio = static_cast<float>(static_cast<double>(pictureWidth) / pictureHeight);
    const auto boxWidthF = static_cast<float>(boxWidth);
    const auto boxHeightF = static_cast<float>(boxHeight);
    const auto boxRatio = static_cast<float>(static_cast<double>(boxWidthF) / boxHeightF);

    if (pictureRatio == boxRatio) return ImageSize{boxWidth, boxHeight};
    if (boxRatio > pictureRatio)
        return ImageSize{computedSide(static_cast<double>(boxHeightF) * pictureRatio), boxHeight};
    return ImageSize{boxWidth, computedSide(static_cast<double>(boxWidthF) / pictureRatio)};
}

bool isDrawableSize(int32_t width, int32_t height)
{
    return width > 0 && height > 0 && static_cast<int64_t>(width) * height <= INT32_MAX / 4;
}

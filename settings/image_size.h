#pragma once

#include <cstdint>

// A picture's size in pixels.
struct ImageSize {
    int32_t width = 0;
    int32_t height = 0;

    bool operator==(const ImageSize& other) const { return width == other.width && height == other.height; }
    bool operator!=(const ImageSize& other) const { return !(*this == other); }
};

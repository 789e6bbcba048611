#pragma once

#include <cstdint>
#include <vector>

// A picture as at most 256 colours and one palette index per pixel.
// Colours are 0xAARRGGBB, the order GDI+ uses.
struct IndexedPixels {
    std::vector<uint32_t> palette;  // 1 to 256 entries, all opaque but transparentIndex
    std::vector<uint8_t> indices;   // one per pixel, in the order given
    int transparentIndex = -1;      // the entry with alpha 0, or -1 when there is none
};

// Maps each pixel to the nearest palette colour; alpha below 128 maps to the
// one transparent entry. The palette is sourcePalette where it can show the
// pixels, otherwise one made from the pixels: all of their colours when there
// are few enough, else a median cut of them.
IndexedPixels mapToPalette(const std::vector<uint32_t>& pixels, const std::vector<uint32_t>& sourcePalette);

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/support/colour.h"

// A picture file decoded by GDI+ into plain pixels, so that no GDI+ object
// (nor the lock it keeps on its file) outlives the reading.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;

    Colour at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // The colour in the middle of each quadrant, away from the blended borders.
    Quadrants quadrantCentres() const
    {
        return {at(width / 4, height / 4), at(width * 3 / 4, height / 4), at(width / 4, height * 3 / 4),
                at(width * 3 / 4, height * 3 / 4)};
    }
};

std::optional<DecodedPicture> decodePicture(const std::wstring& path);

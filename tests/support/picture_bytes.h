#pragma once

#include <functional>
#include <vector>

#include "tests/support/colour.h"

// Picture files written byte by byte, in forms no encoder at hand writes:
// each pixel the colour the function gives, alpha included where the form
// holds it.
using PixelColour = std::function<Colour(int x, int y)>;

// An uncompressed RGB TIFF with its Orientation tag (1 to 8) and, when given,
// an ICC profile (tag 34675).
std::vector<unsigned char> tiffBytes(int width, int height, const PixelColour& pixel, int orientation,
                                     const std::vector<unsigned char>& profile);
// An icon holding one 32-bit image with straight alpha.
std::vector<unsigned char> iconBytes(int width, int height, const PixelColour& pixel);
// A Targa file of 32-bit pixels, rows from the top.
std::vector<unsigned char> targaBytes(int width, int height, const PixelColour& pixel);

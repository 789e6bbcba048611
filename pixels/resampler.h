#pragma once

#include <cstdint>

#include "pixels/pixel_view.h"

// A copy of the source at exactly width x height, into scaled (allocated
// here): a large shrink is first taken down by a box average to about twice
// the target, then every pixel is resampled with a separable cubic filter
// whose support widens with the shrink, transparent pixels weighted by their
// alpha and the edges clamped, all on the picture's own sRGB values. Safe to
// call from any number of threads at once. False for an invalid view or size,
// or when memory runs out.
bool scalePixels(const PixelView& source, int32_t width, int32_t height, PixelBuffer& scaled);

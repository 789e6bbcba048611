#pragma once

#include <cstdint>

#include "pixels/pixel_view.h"

// The most source pixels per side one pixel of a box reduction averages; the
// resampler takes any shrink beyond it.
constexpr int32_t kLargestBoxFactor = 256;

// The whole number of source pixels per side that one pixel of a box
// reduction averages so that what is left is still at least twice the target
// size both ways; 1 when that leaves nothing to reduce.
int32_t boxFactorFor(int32_t sourceWidth, int32_t sourceHeight, int32_t width, int32_t height);

// The source with each factor x factor block replaced by its mean, into
// reduced (allocated here). Blocks cut short by the right or bottom edge
// average the pixels they hold. With alpha, colours are weighted by it, so
// that transparent pixels lend none of theirs. False for an invalid view or
// a factor outside 1 to kLargestBoxFactor, or when memory runs out.
bool boxReduce(const PixelView& source, int32_t factor, PixelBuffer& reduced);

// How many pixels a side of `side` reduces to: blocks cut short count too.
int32_t boxReducedSide(int32_t side, int32_t factor);

// Rows firstRow up to endRow of that reduction into `reduced`, which has the
// reduced size, so that a picture can be reduced in bands as it arrives: the
// source rows they average must be there. False as boxReduce is, or when
// `reduced` or the rows do not fit the reduction.
bool boxReduceRows(const PixelView& source, int32_t factor, int32_t firstRow, int32_t endRow,
                   const MutablePixelView& reduced);

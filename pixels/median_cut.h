#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// At most limit opaque colours that stand for the opaque pixels (0xAARRGGBB):
// their colour space is split, largest spread first, at the median of its
// widest channel, and each part is shown by its mean. Empty without opaque pixels.
std::vector<uint32_t> medianCutPalette(const std::vector<uint32_t>& pixels, size_t limit);

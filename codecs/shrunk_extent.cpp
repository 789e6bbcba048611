#include "codecs/shrunk_extent.h"

#include <cstdint>

PixelExtent shrunkExtent(const ImageSize& stored, const ImageSize& decoded)
{
    for (int64_t divisor = 1; divisor <= 256; divisor *= 2) {
        const auto roundedUp = [divisor](int32_t side) { return (side + divisor - 1) / divisor; };
        if (roundedUp(stored.width) == decoded.width && roundedUp(stored.height) == decoded.height)
            return {stored.width / static_cast<double>(divisor), stored.height / static_cast<double>(divisor)};
    }
    return {static_cast<double>(decoded.width), static_cast<double>(decoded.height)};
}

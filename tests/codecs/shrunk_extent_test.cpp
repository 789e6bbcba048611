#include <gtest/gtest.h>

#include "codecs/shrunk_extent.h"

TEST(ShrunkExtent, AShrinkByHalvesStandsForTheStoredSizeOverItsDivisor)
{
    const struct {
        ImageSize stored, decoded;
        double width, height;
    } rows[] = {
        {{4000, 3000}, {500, 375}, 500, 375},
        // Rounded up: the last column and row are partly outside the picture.
        {{1001, 751}, {126, 94}, 125.125, 93.875},
        {{1001, 751}, {501, 376}, 500.5, 375.5},
        {{3, 3}, {1, 1}, 0.75, 0.75},
        // Not decoded smaller, or by another factor: the pixels are whole.
        {{640, 480}, {640, 480}, 640, 480},
        {{6000, 4000}, {1620, 1080}, 1620, 1080},
        {{1001, 751}, {126, 95}, 126, 95},
    };
    for (const auto& row : rows) {
        const PixelExtent extent = shrunkExtent(row.stored, row.decoded);
        EXPECT_DOUBLE_EQ(extent.width, row.width) << row.stored.width << "x" << row.stored.height;
        EXPECT_DOUBLE_EQ(extent.height, row.height) << row.stored.width << "x" << row.stored.height;
    }
}

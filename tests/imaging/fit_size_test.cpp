#include <gtest/gtest.h>

#include "imaging/fit_size.h"

TEST(FitToBox, KeepsProportionsExactlyAndRoundsToTheNearestPixel)
{
    const struct {
        int32_t pictureWidth, pictureHeight, boxWidth, boxHeight;
        ImageSize fitted;
    } rows[] = {
        {4000, 3000, 800, 600, {800, 600}},    {4000, 3000, 800, 800, {800, 600}},
        {4000, 3000, 1024, 1024, {1024, 768}}, {1920, 1080, 800, 600, {800, 450}},
        {3840, 2160, 1280, 1024, {1280, 720}}, {3000, 4000, 1024, 768, {576, 768}},
        {3000, 4000, 800, 600, {450, 600}},    {1000, 1000, 800, 600, {600, 600}},
        {640, 480, 1024, 768, {1024, 768}},    {100, 50, 800, 600, {800, 400}},
        // 337.5 and 112.5 round up; 333.33 down, 666.67 up.
        {1080, 1920, 800, 600, {338, 600}},    {1920, 1080, 200, 200, {200, 113}},
        {3000, 1000, 1000, 1000, {1000, 333}}, {3000, 2000, 1000, 1000, {1000, 667}},
        // A side that rounds to nothing still gets one pixel.
        {1, 10000, 800, 600, {1, 600}},        {10000, 1, 800, 600, {800, 1}},
        // The largest box: exact in 64 bits, and inside the 32-bit range.
        {1000, 10, 2147483647, 2147483647, {2147483647, 21474836}},
        {10, 1000, 2147483647, 2147483647, {21474836, 2147483647}},
        {2147483647, 2147483646, 2147483647, 2147483647, {2147483647, 2147483646}},
        {2147483646, 2147483647, 3, 3, {3, 3}},
        // Nothing to fit into, or nothing to fit: the box as it is.
        {0, 600, 800, 600, {800, 600}},        {800, 600, 0, 600, {0, 600}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(fitToBox(row.pictureWidth, row.pictureHeight, row.boxWidth, row.boxHeight), row.fitted)
            << row.pictureWidth << "x" << row.pictureHeight << " into " << row.boxWidth << "x" << row.boxHeight;
    }
}

TEST(FitToBox, OnlySizesWhose32BitPixelsStayWithin2GiBAreDrawable)
{
    EXPECT_TRUE(isDrawableSize(1, 1));
    EXPECT_TRUE(isDrawableSize(23170, 23170));
    EXPECT_TRUE(isDrawableSize(536870911, 1));
    EXPECT_FALSE(isDrawableSize(536870912, 1));
    EXPECT_FALSE(isDrawableSize(23171, 23171));
    EXPECT_FALSE(isDrawableSize(2147483647, 1610612688));
    EXPECT_FALSE(isDrawableSize(0, 600));
    EXPECT_FALSE(isDrawableSize(800, -1));
}

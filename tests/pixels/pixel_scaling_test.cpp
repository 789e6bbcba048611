#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "pixels/box_reduction.h"
#include "pixels/resampler.h"
#include "pixels/upright_turn.h"

namespace {

// A picture whose pixels are given as one byte per channel, row by row.
PixelBuffer pictureOf(int32_t width, int32_t height, int32_t channels, const std::vector<int>& bytes)
{
    PixelBuffer picture;
    EXPECT_TRUE(picture.allocate(width, height, channels));
    const MutablePixelView view = picture.mutableView();
    for (size_t i = 0; i < bytes.size() && i < static_cast<size_t>(width * height * channels); ++i)
        view.pixels[i] = static_cast<uint8_t>(bytes[i]);
    return picture;
}

std::vector<int> bytesOf(const PixelView& view)
{
    std::vector<int> bytes;
    for (int32_t y = 0; y < view.height; ++y)
        bytes.insert(bytes.end(), view.row(y), view.row(y) + view.width * view.channels);
    return bytes;
}

// Every byte of every channel within tolerance of the channel's value.
void expectFlat(const PixelView& view, const std::vector<int>& channelValues, int tolerance)
{
    for (int32_t y = 0; y < view.height; ++y)
        for (int32_t x = 0; x < view.width; ++x)
            for (int32_t c = 0; c < view.channels; ++c)
                ASSERT_NEAR(view.row(y)[x * view.channels + c], channelValues[static_cast<size_t>(c)], tolerance)
                    << "pixel " << x << "," << y << " channel " << c;
}

}  // namespace

TEST(UprightTurn, TurnsAndMirrorsByEveryOrientation)
{
    // Stored 3 x 2: a b c / d e f, one channel value per letter (3 channels).
    std::vector<int> stored;
    for (int letter = 'a'; letter <= 'f'; ++letter) stored.insert(stored.end(), {letter, letter, letter});
    const PixelBuffer source = pictureOf(3, 2, 3, stored);
    const char* const upright[] = {"abc/def", "cba/fed", "fed/cba", "def/abc",
                                   "ad/be/cf", "da/eb/fc", "fc/eb/da", "cf/be/ad"};
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const ImageSize size = uprightSize(ImageSize{3, 2}, orientation);
        PixelBuffer turned;
        ASSERT_TRUE(turned.allocate(size.width, size.height, 3));
        ASSERT_TRUE(copyUpright(source.view(), orientation, turned.mutableView())) << orientation;
        std::string shown;
        for (int32_t y = 0; y < size.height; ++y) {
            if (y) shown += '/';
            for (int32_t x = 0; x < size.width; ++x) shown += static_cast<char>(turned.view().row(y)[x * 3]);
        }
        EXPECT_EQ(shown, upright[orientation - 1]) << "orientation " << orientation;
    }
    PixelBuffer wrong;
    ASSERT_TRUE(wrong.allocate(3, 2, 3));
    EXPECT_FALSE(copyUpright(source.view(), 6, wrong.mutableView())) << "a picture on its side needs 2 x 3";
    EXPECT_TRUE(copyUpright(source.view(), 0, wrong.mutableView())) << "an unknown value keeps the picture";
}

TEST(BoxReduction, ReducesToAboutTwiceTheTargetByWholeBlocks)
{
    const struct {
        int32_t sourceWidth, sourceHeight, width, height, factor;
    } rows[] = {
        {4000, 3000, 800, 600, 2},  {4000, 3000, 640, 480, 3}, {4000, 3000, 1920, 1080, 1},
        {12000, 9000, 800, 600, 7}, {4000, 3000, 8000, 6000, 1}, {4000, 100, 40, 40, 1},
        {0, 3000, 800, 600, 1},     {4000, 3000, 0, -1, 1}, {100000, 100000, 10, 10, kLargestBoxFactor},
    };
    for (const auto& row : rows)
        EXPECT_EQ(boxFactorFor(row.sourceWidth, row.sourceHeight, row.width, row.height), row.factor)
            << row.sourceWidth << "x" << row.sourceHeight << " to " << row.width << "x" << row.height;
}

TEST(BoxReduction, AveragesBlocksCutShortByTheEdgesAndWeighsColourByAlpha)
{
    // 3 x 3 grey values by 2: blocks of 4, 2, 2 and 1 pixels.
    const PixelBuffer grey = pictureOf(3, 3, 3, {0, 0, 0, 10, 10, 10, 30, 30, 30,     //
                                                 20, 20, 20, 31, 31, 31, 50, 50, 50,  //
                                                 90, 90, 90, 80, 80, 80, 7, 7, 7});
    PixelBuffer reduced;
    ASSERT_TRUE(boxReduce(grey.view(), 2, reduced));
    EXPECT_EQ(bytesOf(reduced.view()), (std::vector<int>{15, 15, 15, 40, 40, 40, 85, 85, 85, 7, 7, 7}));

    // Opaque white beside transparent black: white, half covered; nothing at all stays black.
    const PixelBuffer edge = pictureOf(4, 1, 4, {255, 255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(boxReduce(edge.view(), 2, reduced));
    EXPECT_EQ(bytesOf(reduced.view()), (std::vector<int>{255, 255, 255, 128, 0, 0, 0, 0}));

    EXPECT_FALSE(boxReduce(grey.view(), 0, reduced));
    EXPECT_FALSE(boxReduce(grey.view(), kLargestBoxFactor + 1, reduced));
    EXPECT_FALSE(boxReduce(PixelView{}, 2, reduced));
}

TEST(Resampler, KeepsAFlatPictureFlatToEveryEdgeShrunkOrEnlarged)
{
    const std::vector<int> orange = {20, 140, 230};
    const std::vector<int> seeThrough = {20, 140, 230, 100};
    const std::vector<int> grey = {90};
    const struct {
        int32_t width, height;
        const std::vector<int>& colour;
        int32_t toWidth, toHeight;
    } rows[] = {
        {97, 61, orange, 37, 23},  {321, 241, orange, 32, 24},  {13, 7, orange, 130, 70},
        {97, 61, seeThrough, 37, 23}, {321, 241, seeThrough, 32, 24}, {13, 7, seeThrough, 130, 70},
        // Tall enough for the rows to be shared by two threads.
        {1200, 900, orange, 400, 300}, {40, 30, seeThrough, 400, 300},
        {97, 61, grey, 37, 23}, {1200, 900, grey, 400, 300}, {13, 7, grey, 130, 70},
    };
    for (const auto& row : rows) {
        const int32_t channels = static_cast<int32_t>(row.colour.size());
        std::vector<int> bytes;
        for (int32_t i = 0; i < row.width * row.height; ++i) bytes.insert(bytes.end(), row.colour.begin(), row.colour.end());
        const PixelBuffer source = pictureOf(row.width, row.height, channels, bytes);
        PixelBuffer scaled;
        ASSERT_EQ(scalePixels(source.view(), row.toWidth, row.toHeight, scaled), ScaleStatus::Scaled);
        ASSERT_EQ(scaled.view().width, row.toWidth);
        ASSERT_EQ(scaled.view().height, row.toHeight);
        SCOPED_TRACE(testing::Message() << row.width << "x" << row.height << " to " << row.toWidth << "x" << row.toHeight);
        expectFlat(scaled.view(), row.colour, 1);
    }
    PixelBuffer scaled;
    EXPECT_NE(scalePixels(PixelView{}, 10, 10, scaled), ScaleStatus::Scaled);
    const PixelBuffer one = pictureOf(1, 1, 3, orange);
    EXPECT_NE(scalePixels(one.view(), 0, 10, scaled), ScaleStatus::Scaled);
}

TEST(Resampler, KeepsARampWholeWhereTwoThreadsShareTheRows)
{
    // Each source row is twice its number; enlarged six times, each copy row
    // shows the source position it stands for, so a half put in the wrong
    // place or scaled by another measure stands out.
    std::vector<int> bytes;
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t i = 0; i < 8 * 3; ++i) bytes.push_back(2 * y);
    const PixelBuffer source = pictureOf(8, 100, 3, bytes);
    PixelBuffer scaled;
    ASSERT_EQ(scalePixels(source.view(), 8, 600, scaled), ScaleStatus::Scaled);
    for (int32_t y = 3; y < 597; ++y) {
        const double position = (y + 0.5) / 6.0 - 0.5;
        ASSERT_NEAR(scaled.view().row(y)[0], 2.0 * position, 1.0) << "row " << y;
    }
}

TEST(Resampler, ScalesRowsAsTheyArriveAsIfTheWholePictureWereThere)
{
    // Rows not filled yet hold white, and each band may be taken by the
    // second core at any moment: a band that read ahead of the filled rows
    // would differ from the whole picture's scale.
    const struct {
        int32_t width, height, channels, toWidth, toHeight;
        PixelExtent extent;
    } rows[] = {
        {500, 375, 3, 200, 150, {500, 375}},     // resampled straight
        {1300, 1000, 3, 100, 77, {1300, 1000}},  // box reduced first
        {201, 151, 1, 160, 120, {200.125, 150.5}},  // the last row and column stand for part of a pixel
        {60, 300, 4, 90, 450, {60, 300}},        // enlarged
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << "x" << row.height << "x" << row.channels);
        std::vector<int> bytes;
        for (int32_t y = 0; y < row.height; ++y)
            for (int32_t x = 0; x < row.width * row.channels; ++x) bytes.push_back((x * 7 + y * 13) % 200);
        const PixelBuffer whole = pictureOf(row.width, row.height, row.channels, bytes);
        StreamedScale wholeScale;
        ASSERT_EQ(wholeScale.begin(whole.view(), row.extent, row.toWidth, row.toHeight), ScaleStatus::Scaled);
        PixelBuffer expected;
        ASSERT_EQ(wholeScale.finish(expected), ScaleStatus::Scaled);

        PixelBuffer arriving = pictureOf(row.width, row.height, row.channels, std::vector<int>(bytes.size(), 255));
        StreamedScale streamed;
        ASSERT_EQ(streamed.begin(arriving.view(), row.extent, row.toWidth, row.toHeight), ScaleStatus::Scaled);
        const size_t rowBytes = static_cast<size_t>(row.width * row.channels);
        for (int32_t filled = 0; filled < row.height;) {
            const int32_t next = std::min(row.height, filled + 1 + filled % 9);
            for (int32_t y = filled; y < next; ++y)
                std::copy_n(whole.view().row(y), rowBytes, arriving.mutableView().row(y));
            filled = next;
            streamed.rowsFilled(filled);
        }
        PixelBuffer scaled;
        ASSERT_EQ(streamed.finish(scaled), ScaleStatus::Scaled);
        EXPECT_EQ(bytesOf(scaled.view()), bytesOf(expected.view()));
    }
}

TEST(Resampler, AbandonedMidwayStopsItsSecondCore)
{
    const PixelBuffer source = pictureOf(400, 400, 3, {});
    StreamedScale scale;
    ASSERT_EQ(scale.begin(source.view(), PixelExtent{400, 400}, 200, 200), ScaleStatus::Scaled);
    scale.rowsFilled(100);
    // Destroyed with the rest of its rows never filled, as after a decode that failed.
}

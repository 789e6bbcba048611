#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "imaging/picture.h"
#include "tests/support/file_signature.h"
#include "tests/support/file_system.h"
#include "tests/support/picture_reader.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_pictures.h"
#include "tests/support/utf8_conversion.h"

namespace {

class ImageObject : public testing::Test {
protected:
    // A picture of the test's own, written with GDI+ into the test's folder.
    Utf8String picture(const wchar_t* name, int width, int height, PictureFormat format,
                       const Quadrants& fill = kFourColours)
    {
        const std::wstring path = folder_.file(name);
        EXPECT_TRUE(makePicture(path, width, height, format, fill)) << "could not make " << toUtf8(path);
        return utf8Of(path);
    }
    Utf8String path(const wchar_t* name) const { return utf8Of(folder_.file(name)); }
    // The picture loaded, scaled, saved as a PNG and decoded again; nothing when a step fails.
    std::optional<DecodedPicture> scaledCopy(const std::wstring& source, int width, int height)
    {
        Picture image;
        if (!image.load(utf8Of(source)) || !image.scale(width, height) ||
            !image.save(path(L"copy.png"), Utf8String::fromAnsi("image/png")))
            return std::nullopt;
        return decodePicture(folder_.file(L"copy.png"));
    }

    TempFolder folder_;
};

}  // namespace

TEST_F(ImageObject, LoadsMeasuresAndFitsAndLoadingAgainReplacesThePicture)
{
    Picture image;
    EXPECT_EQ(image.size(), (ImageSize{0, 0}));
    EXPECT_FALSE(image.scale(10, 10));
    EXPECT_FALSE(image.save(path(L"nothing.jpg"), Utf8String()));

    ASSERT_TRUE(image.load(picture(L"wide.png", 400, 300, PictureFormat::Png)));
    EXPECT_EQ(image.fitSize(800, 800), (ImageSize{800, 600}));
    EXPECT_EQ(image.fitSize(800, 600), (ImageSize{800, 600}));

    ASSERT_TRUE(image.load(picture(L"tall.bmp", 108, 192, PictureFormat::Bmp)));
    EXPECT_EQ(image.size(), (ImageSize{108, 192}));
    EXPECT_EQ(image.fitSize(800, 600), (ImageSize{338, 600}));

    EXPECT_FALSE(image.load(Utf8String()));  // an empty path keeps the picture
    EXPECT_EQ(image.size(), (ImageSize{108, 192}));
    EXPECT_FALSE(image.load(path(L"missing.png")));
    EXPECT_FALSE(image.scale(10, 10));
}

TEST_F(ImageObject, ScalesToExactlyTheSizeAndKeepsTheColours)
{
    Picture image;
    ASSERT_TRUE(image.load(picture(L"source.png", 200, 100, PictureFormat::Png)));
    ASSERT_TRUE(image.scale(80, 40));
    EXPECT_EQ(image.size(), (ImageSize{80, 40}));
    ASSERT_TRUE(image.save(path(L"copy.png"), Utf8String::fromAnsi("image/png")));

    const std::optional<DecodedPicture> copy = decodePicture(folder_.file(L"copy.png"));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->width, 80);
    const Quadrants centres = copy->quadrantCentres();
    EXPECT_TRUE(nearColour(centres.topLeft, kRed, 24)) << centres.topLeft;
    EXPECT_TRUE(nearColour(centres.bottomRight, kYellow, 24)) << centres.bottomRight;
}

TEST_F(ImageObject, EdgesKeepTheColourOfAOneColourPicture)
{
    const Colour orange{230, 140, 20};
    Picture image;
    ASSERT_TRUE(image.load(picture(L"orange.bmp", 97, 61, PictureFormat::Bmp, solid(orange))));
    ASSERT_TRUE(image.scale(37, 23));
    ASSERT_TRUE(image.save(path(L"small.bmp"), Utf8String::fromAnsi("image/bmp")));

    const std::optional<DecodedPicture> copy = decodePicture(folder_.file(L"small.bmp"));
    ASSERT_TRUE(copy);
    for (int x = 0; x < copy->width; ++x) {
        for (int y : {0, copy->height - 1}) EXPECT_TRUE(nearColour(copy->at(x, y), orange, 3)) << x << "," << y;
    }
    for (int y = 0; y < copy->height; ++y) {
        for (int x : {0, copy->width - 1}) EXPECT_TRUE(nearColour(copy->at(x, y), orange, 3)) << x << "," << y;
    }
}

TEST_F(ImageObject, SavesWithTheEncoderOfTheExactMimeType)
{
    Picture image;
    ASSERT_TRUE(image.load(picture(L"source.png", 30, 20, PictureFormat::Png)));
    const struct {
        const wchar_t* name;
        const char* mimeType;
        bool saved;
        Encoding encoding;
    } rows[] = {
        {L"empty.tif", "", true, Encoding::Jpeg},
        {L"bitmap.bmp", "image/bmp", true, Encoding::Bmp},
        {L"portable.png", "image/png", true, Encoding::Png},
        {L"wrong-case.png", "Image/PNG", false, Encoding::Missing},
        {L"unknown.xyz", "image/xyz", false, Encoding::Missing},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(image.save(path(row.name), Utf8String::fromAnsi(row.mimeType)), row.saved) << row.mimeType;
        EXPECT_EQ(encodingOf(folder_.file(row.name)), row.encoding) << row.mimeType;
    }
}

TEST_F(ImageObject, FineStripesShrunkFiveTimesComeOutFlatGrey)
{
    // Black and white stripes one to three pixels wide are far finer than a
    // fifth of the size can show: a correct shrink leaves their mean, flat
    // grey, where drawing without a prefilter shows stripes or moire.
    const struct {
        const wchar_t* name;
        PictureFormat format;
        int stripeWidth;
        bool across;
    } rows[] = {
        {L"one.png", PictureFormat::Png, 1, false},   {L"two.png", PictureFormat::Png, 2, true},
        {L"three.bmp", PictureFormat::Bmp, 3, false}, {L"two.bmp", PictureFormat::Bmp, 2, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(toUtf8(row.name));
        const std::wstring source = folder_.file(row.name);
        ASSERT_TRUE(makePixelPicture(source, 500, 300, row.format, [&row](int x, int y) {
            const int level = ((row.across ? y : x) / row.stripeWidth) % 2 ? 255 : 0;
            return Colour{level, level, level};
        }));
        const std::optional<DecodedPicture> copy = scaledCopy(source, 100, 60);
        ASSERT_TRUE(copy);
        // The outer pixels are left out: their five columns or rows hold
        // unequal shares of black and white, and the edge is clamped.
        int farthest = 0;
        for (int y = 1; y + 1 < copy->height; ++y)
            for (int x = 1; x + 1 < copy->width; ++x) farthest = std::max(farthest, std::abs(copy->at(x, y).green - 128));
        EXPECT_LE(farthest, 4);
    }
}

TEST_F(ImageObject, TransparentSurroundsLendNoDarkFringe)
{
    // An opaque white square on transparent black, shrunk by an uneven ratio
    // so that its edges land part way into pixels.
    const std::wstring source = folder_.file(L"square.png");
    ASSERT_TRUE(makePixelPicture(source, 200, 200, PictureFormat::Png, [](int x, int y) {
        const bool inside = x >= 47 && x < 153 && y >= 47 && y < 153;
        return inside ? Colour{255, 255, 255, 255} : Colour{0, 0, 0, 0};
    }));
    const std::optional<DecodedPicture> copy = scaledCopy(source, 57, 57);
    ASSERT_TRUE(copy);
    int partlyCovered = 0;
    for (int y = 0; y < copy->height; ++y) {
        for (int x = 0; x < copy->width; ++x) {
            const Colour pixel = copy->at(x, y);
            if (pixel.alpha > 0 && pixel.alpha < 255) ++partlyCovered;
            // Faint pixels round their colour coarsely; anything that shows is white.
            if (pixel.alpha >= 16) {
                EXPECT_TRUE(nearColour(pixel, Colour{255, 255, 255}, 4)) << x << "," << y << " " << pixel;
            }
        }
    }
    EXPECT_GT(partlyCovered, 0) << "the square's edges should fall inside pixels";
    EXPECT_EQ(copy->at(0, 0).alpha, 0) << "the corner stays transparent";
}

#include <gtest/gtest.h>

#include "imaging/image_gdiplus.h"
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

    TempFolder folder_;
};

}  // namespace

TEST_F(ImageObject, LoadsMeasuresAndFitsAndLoadingAgainReplacesThePicture)
{
    ImageGDIPlus image;
    EXPECT_EQ(image.size(), (ImageSize{0, 0}));
    EXPECT_FALSE(image.scale(10, 10));
    EXPECT_FALSE(image.save(path(L"nothing.jpg"), Utf8String()));

    ASSERT_TRUE(image.load(picture(L"wide.png", 400, 300, PictureFormat::Png)));
    EXPECT_EQ(image.fitSize(800, 800), (ImageSize{800, 599}));
    EXPECT_EQ(image.fitSize(800, 600), (ImageSize{800, 600}));

    ASSERT_TRUE(image.load(picture(L"tall.bmp", 108, 192, PictureFormat::Bmp)));
    EXPECT_EQ(image.size(), (ImageSize{108, 192}));
    EXPECT_EQ(image.fitSize(800, 600), (ImageSize{337, 600}));

    EXPECT_FALSE(image.load(Utf8String()));  // an empty path keeps the picture
    EXPECT_EQ(image.size(), (ImageSize{108, 192}));
    EXPECT_FALSE(image.load(path(L"missing.png")));
    EXPECT_FALSE(image.scale(10, 10));
}

TEST_F(ImageObject, ScalesToExactlyTheSizeAndKeepsTheColours)
{
    ImageGDIPlus image;
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
    ImageGDIPlus image;
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
    ImageGDIPlus image;
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

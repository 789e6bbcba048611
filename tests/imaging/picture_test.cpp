#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "codecs/byte_source.h"
#include "codecs/decode_whole.h"
#include "codecs/jpeg_decoder.h"
#include "codecs/picture_codecs.h"
#include "codecs/wic_decoder.h"
#include "imaging/picture.h"
#include "pixels/resampler.h"
#include "tests/support/file_signature.h"
#include "tests/support/exif_orientation.h"
#include "tests/support/file_system.h"
#include "tests/support/jpeg_forms.h"
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
    Utf8String file(const wchar_t* name, const Bytes& bytes)
    {
        EXPECT_TRUE(writeFileBytes(folder_.file(name), bytes)) << "could not write " << toUtf8(name);
        return path(name);
    }
    // The picture loaded, scaled, saved as a PNG and decoded again; nothing when a step fails.
    std::optional<DecodedPicture> scaledCopy(const std::wstring& source, int width, int height)
    {
        Picture image;
        if (!image.load(utf8Of(source)) || !image.scale(width, height) ||
            !savePicture(image, path(L"copy.png"), PictureKind::Png))
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
    EXPECT_FALSE(savePicture(image, path(L"nothing.jpg"), PictureKind::Jpeg));

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
    ASSERT_TRUE(savePicture(image, path(L"copy.png"), PictureKind::Png));

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
    ASSERT_TRUE(savePicture(image, path(L"small.bmp"), PictureKind::Bmp));

    const std::optional<DecodedPicture> copy = decodePicture(folder_.file(L"small.bmp"));
    ASSERT_TRUE(copy);
    for (int x = 0; x < copy->width; ++x) {
        for (int y : {0, copy->height - 1}) EXPECT_TRUE(nearColour(copy->at(x, y), orange, 3)) << x << "," << y;
    }
    for (int y = 0; y < copy->height; ++y) {
        for (int x : {0, copy->width - 1}) EXPECT_TRUE(nearColour(copy->at(x, y), orange, 3)) << x << "," << y;
    }
}

TEST_F(ImageObject, SavesInTheKindAskedForWhateverTheName)
{
    Picture image;
    ASSERT_TRUE(image.load(picture(L"source.png", 30, 20, PictureFormat::Png)));
    EXPECT_EQ(image.copyKind(), PictureKind::Png);
    const struct {
        const wchar_t* name;
        PictureKind kind;
        bool saved;
        Encoding encoding;
    } rows[] = {
        {L"photo.tif", PictureKind::Jpeg, true, Encoding::Jpeg},
        {L"bitmap.bmp", PictureKind::Bmp, true, Encoding::Bmp},
        {L"portable.xyz", PictureKind::Png, true, Encoding::Png},
        {L"tagged.tiff", PictureKind::Tiff, true, Encoding::Tiff},
        {L"other.heic", PictureKind::Other, false, Encoding::Missing},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(savePicture(image, path(row.name), row.kind), row.saved) << toUtf8(row.name);
        EXPECT_EQ(encodingOf(folder_.file(row.name)), row.encoding) << toUtf8(row.name);
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

    // A BMP copy keeps the alpha too, in a version-5 header, as Windows'
    // codec reads it (GDI+ reads no BMP's alpha).
    Picture image;
    ASSERT_TRUE(image.load(utf8Of(source)) && image.scale(57, 57) && savePicture(image, path(L"copy.bmp"), PictureKind::Bmp));
    WicDecoder bitmap;
    ASSERT_EQ(bitmap.open(folder_.file(L"copy.bmp").c_str()), DecodeStatus::Decoded);
    PixelBuffer pixels;
    ASSERT_EQ(decodeWhole(bitmap, bitmap.storedSize(), pixels), DecodeStatus::Decoded);
    ASSERT_EQ(pixels.view().channels, 4);
    EXPECT_EQ(pixels.view().row(0)[3], 0) << "the BMP's corner stays transparent";
    EXPECT_EQ(pixels.view().row(28)[28 * 4 + 3], 255);
}

namespace {

size_t findBytes(const Bytes& file, const Bytes& what, size_t from = 0)
{
    return static_cast<size_t>(std::search(file.begin() + static_cast<std::ptrdiff_t>(from), file.end(),
                                            what.begin(), what.end()) - file.begin());
}

}  // namespace

TEST_F(ImageObject, SaysWhyAPictureGivesNoCopy)
{
    const Bytes baseline = jpegInForm({}, 64, 48, kFourColours);
    const Bytes progressive = jpegInForm({JCS_YCbCr, true}, 64, 48, kFourColours);
    Bytes damagedHeader = baseline;
    damagedHeader[findBytes(baseline, {0xFF, 0xDB}) + 4] = 0x0F;  // a quantisation table numbered 15
    // Progressive heads that declare 65500 x 65500 pixels, whose coefficients
    // alone would take 13 GB, and 65535 x 65535, more than libjpeg decodes.
    const auto declaring = [&progressive](uint8_t low) {
        Bytes head = progressive;
        const auto frame = head.begin() + static_cast<std::ptrdiff_t>(findBytes(head, {0xFF, 0xC2}));
        std::copy_n(Bytes{0xFF, low, 0xFF, low}.begin(), 4, frame + 5);
        head.resize(findBytes(head, {0xFF, 0xDA}) + 40);
        return head;
    };
    Bytes heic = {0, 0, 0, 0x18, 'f', 't', 'y', 'p', 'h', 'e', 'i', 'c', 0, 0, 0, 0, 'm', 'i', 'f', '1'};
    heic.resize(4096, 0);
    // 58 bytes of BMP that declare 40000 x 40000 pixels of BGR, 4.8 GB.
    Bytes hugeBmp = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 0x40, 0x9C, 0, 0,
                     0x40, 0x9C, 0, 0, 1, 0, 24, 0};
    hugeBmp.resize(58, 0);
    const auto withoutEnd = [](Bytes file) {
        file.resize(file.size() - 2);
        return file;
    };
    const struct {
        const wchar_t* name;
        Bytes bytes;
        bool loads;
        ResizeOutcome outcome;
    } rows[] = {
        // Damage is not a question for GDI+, which calls much of it "out of memory".
        {L"damaged-header.jpg", damagedHeader, false, ResizeOutcome::Unreadable},
        {L"huge-progressive.jpg", declaring(0xDC), true, ResizeOutcome::TooLarge},
        {L"too-large.jpg", declaring(0xFF), false, ResizeOutcome::TooLarge},
        {L"huge.bmp", hugeBmp, true, ResizeOutcome::TooLarge},
        {L"no-end-marker.jpg", withoutEnd(baseline), true, ResizeOutcome::Written},
        {L"progressive-no-end-marker.jpg", withoutEnd(progressive), true, ResizeOutcome::Unreadable},
        // A HEIF photo under Wine, which has no codec for it, and text.
        {L"IMG_0042.heic", heic, false, ResizeOutcome::NoInstalledCodec},
        {L"notes.png", Bytes{'n', 'o', 't', 'e', 's'}, false, ResizeOutcome::NotAPicture},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(toUtf8(row.name));
        Picture image;
        ASSERT_EQ(image.load(file(row.name, row.bytes)), row.loads);
        const bool copied = row.loads && image.scale(32, 24) && savePicture(image, path(L"copy.jpg"), PictureKind::Jpeg);
        EXPECT_EQ(copied, row.outcome == ResizeOutcome::Written);
        if (!copied) {
            EXPECT_EQ(image.failure(), row.outcome);
        }
    }
}

TEST_F(ImageObject, AJpegShrunkByItsInverseDctKeepsItsProportionsToTheLastPixel)
{
    // 161 pixels at 1/8 decode to 21, the last of which stands for an eighth
    // of a decoded pixel: read as a whole one, the copy would be stretched.
    const Bytes photo = jpegInForm({JCS_YCbCr, false, false, 0, false, 95}, 161, 121, kFourColours);
    Picture image;
    ASSERT_TRUE(image.load(file(L"odd.jpg", photo)));
    ASSERT_TRUE(image.scale(10, 8));
    ASSERT_TRUE(savePicture(image, path(L"copy.bmp"), PictureKind::Bmp));
    const std::optional<DecodedPicture> copy = decodePicture(folder_.file(L"copy.bmp"));
    ASSERT_TRUE(copy);

    // The same copy from the pixels decoded whole.
    MemorySource source(photo.data(), photo.size());
    JpegDecoder decoder;
    ASSERT_EQ(decoder.readHeader(source), DecodeStatus::Decoded);
    PixelBuffer full;
    ASSERT_EQ(decodeWhole(decoder, decoder.storedSize(), full), DecodeStatus::Decoded);
    PixelBuffer expected;
    ASSERT_EQ(scalePixels(full.view(), 10, 8, expected), ScaleStatus::Scaled);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const uint8_t* bgr = expected.view().row(y) + x * 3;
            EXPECT_TRUE(nearColour(copy->at(x, y), Colour{bgr[2], bgr[1], bgr[0]}, 14))
                << x << "," << y << ": " << copy->at(x, y);
        }
}

TEST_F(ImageObject, AGreyPhotoKeepsItsGreyProfileOnlyWhereItsCopyStaysGrey)
{
    // A grey photo under a grey profile ("GRAY" at byte 16 of its header).
    Bytes profile(128, 0);
    std::copy_n("GRAY", 4, profile.begin() + 16);
    Bytes chunk = {'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0, 1, 1};
    chunk.insert(chunk.end(), profile.begin(), profile.end());
    const Bytes photo = withSegments(jpegInForm({JCS_GRAYSCALE}, 64, 48, kFourColours), jpegSegment(0xE2, chunk));
    const struct {
        const wchar_t* copy;
        PictureKind kind;
        bool keepsProfile;
    } rows[] = {
        {L"copy.jpg", PictureKind::Jpeg, true},
        {L"copy.png", PictureKind::Png, true},
        {L"copy.tif", PictureKind::Tiff, true},
        // WebP holds colour only.
        {L"copy.webp", PictureKind::WebP, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(toUtf8(row.copy));
        Picture image;
        ASSERT_TRUE(image.load(file(L"grey.jpg", photo)) && image.scale(32, 24) && savePicture(image, path(row.copy), row.kind));
        std::vector<uint8_t> copyProfile;
        if (row.kind == PictureKind::Tiff) {
            WicDecoder copy;
            ASSERT_EQ(copy.open(folder_.file(row.copy).c_str()), DecodeStatus::Decoded);
            copyProfile = copy.metadata().colourProfile;
        } else {
            const std::optional<Bytes> bytes = readFileBytes(folder_.file(row.copy));
            ASSERT_TRUE(bytes);
            std::unique_ptr<PictureDecoder> copy;
            ASSERT_EQ(openOwnDecoder(bytes->data(), std::min(bytes->size(), kHeadBytes),
                                     std::make_unique<MemorySource>(bytes->data(), bytes->size()), copy),
                      DecodeStatus::Decoded);
            copyProfile = copy->metadata().colourProfile;
        }
        EXPECT_EQ(copyProfile, row.keepsProfile ? profile : std::vector<uint8_t>());
    }
}

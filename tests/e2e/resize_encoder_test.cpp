#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "codecs/byte_source.h"
#include "codecs/jpeg_metadata.h"
#include "codecs/decode_whole.h"
#include "codecs/picture_codecs.h"
#include "codecs/png_encoder.h"
#include "codecs/webp_encoder.h"
#include "codecs/wic_decoder.h"
#include "tests/e2e/picture_expectations.h"
#include "tests/support/exif_orientation.h"
#include "tests/support/file_signature.h"
#include "tests/support/file_system.h"
#include "tests/support/jpeg_forms.h"
#include "tests/support/picture_bytes.h"
#include "tests/support/picture_reader.h"
#include "tests/e2e/pellavo_runner.h"
#include "tests/e2e/resize_workspace.h"
#include "tests/support/test_pictures.h"

namespace {

// Pictures made once by other tools, in the source tree (the drive Wine maps to /).
const std::wstring kE2eData = L"Z:" PELLAVO_E2E_DATA;

struct EncoderCase {
    const wchar_t* source;
    PictureFormat sourceFormat;
    const wchar_t* copy;
    Encoding copyEncoding;
};

// The copy is of the source's own kind, whatever its name, and named for it:
// the source's extension where it names that kind, in its letter case.
constexpr EncoderCase kEncoderCases[] = {
    {L"photo.jpg", PictureFormat::Jpeg, L"photo_800x600.jpg", Encoding::Jpeg},
    {L"photo.jpeg", PictureFormat::Jpeg, L"photo_800x600.jpeg", Encoding::Jpeg},
    {L"PHOTO.JPEG", PictureFormat::Jpeg, L"PHOTO_800x600.JPEG", Encoding::Jpeg},
    {L"photo.png", PictureFormat::Png, L"photo_800x600.png", Encoding::Png},
    {L"photo.Png", PictureFormat::Png, L"photo_800x600.Png", Encoding::Png},
    {L"photo.gif", PictureFormat::Gif, L"photo_800x600.gif", Encoding::Gif},
    {L"photo.GIF", PictureFormat::Gif, L"photo_800x600.GIF", Encoding::Gif},
    {L"photo.bmp", PictureFormat::Bmp, L"photo_800x600.bmp", Encoding::Bmp},
    {L"photo.BMP", PictureFormat::Bmp, L"photo_800x600.BMP", Encoding::Bmp},
    {L"photo.tif", PictureFormat::Tiff, L"photo_800x600.tif", Encoding::Tiff},
    {L"photo.xyz", PictureFormat::Png, L"photo_800x600.png", Encoding::Png},
    {L"jpeg-inside.png", PictureFormat::Jpeg, L"jpeg-inside_800x600.jpg", Encoding::Jpeg},
    {L"png-inside.bmp", PictureFormat::Png, L"png-inside_800x600.png", Encoding::Png},
};

// One case; a failed assertion ends only this case.
void checkEncoderCase(const EncoderCase& c)
{
    ResizeWorkspace workspace;
    ASSERT_TRUE(workspace.ready());
    const std::wstring source = workspace.picture(c.source);
    ASSERT_TRUE(makePicture(source, 400, 300, c.sourceFormat, kFourColours));

    EXPECT_TRUE(runsPellavo(L"-size 800x600 " + source));

    EXPECT_TRUE(wroteAndOpened(workspace, {c.source}, c.copy));
    const std::wstring copy = workspace.picture(c.copy);
    EXPECT_STREQ(encodingName(encodingOf(copy)), encodingName(c.copyEncoding));
    const std::optional<DecodedPicture> picture = decodePicture(copy);
    ASSERT_TRUE(picture) << "the copy does not decode: " << fileSummary(copy);
    EXPECT_EQ(picture->width, 800);
    EXPECT_EQ(picture->height, 600);
}

// The number of components in a JPEG's baseline frame; 0 when it has none.
int frameComponents(const Bytes& jpeg)
{
    const Bytes frame = {0xFF, 0xC0};
    const auto at = std::search(jpeg.begin(), jpeg.end(), frame.begin(), frame.end());
    return jpeg.end() - at > 9 ? at[9] : 0;
}

// A colour profile's bytes, whose header names its colour space ("GRAY",
// "RGB ", "CMYK"), as far as the program reads them.
Bytes profileIn(const char* space)
{
    Bytes profile(128, 0);
    std::copy_n(space, 4, profile.begin() + 16);
    return profile;
}

// A photo's colour profile as a JPEG carries it (Photoshop's "Dot Gain 20%"
// for grey, a press profile for inks): one ICC chunk.
Bytes profileSegment(const char* space)
{
    Bytes chunk = {'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0, 1, 1};
    const Bytes profile = profileIn(space);
    chunk.insert(chunk.end(), profile.begin(), profile.end());
    return chunk;
}

}  // namespace

TEST_F(ResizeCommand, ChoosesTheEncoderByTheExtension)
{
    for (const EncoderCase& c : kEncoderCases) {
        SCOPED_TRACE(testing::Message() << c.source);
        checkEncoderCase(c);
    }
}

TEST_F(ResizeCommand, ResizesEveryFormOfJpeg)
{
    // CMYK goes through GDI+, the rest through libjpeg-turbo whatever the
    // name; all must come out whole and in the right colours.
    const Colour greys[] = {kRed, kGreen, kBlue, kYellow};
    auto grey = [&](int i) { return Colour{lumaOf(greys[i]), lumaOf(greys[i]), lumaOf(greys[i])}; };
    const Quadrants inGrey = {grey(0), grey(1), grey(2), grey(3)};
    const struct {
        const wchar_t* source;
        JpegForm form;
        const wchar_t* copy;
        Quadrants shown;
        int components;  // of a JPEG copy; 0 for others
    } cases[] = {
        {L"progressive.jpg", {JCS_YCbCr, true}, L"progressive_800x600.jpg", kFourColours, 3},
        // Grey stays grey, one component under its grey profile; a JPEG of any
        // name gives a JPEG copy.
        {L"grey.jpg", {JCS_GRAYSCALE}, L"grey_800x600.jpg", inGrey, 1},
        {L"grey-named.png", {JCS_GRAYSCALE}, L"grey-named_800x600.jpg", inGrey, 1},
        {L"cmyk.jpg", {JCS_CMYK}, L"cmyk_800x600.jpg", kFourColours, 3},
        {L"progressive-named.png", {JCS_YCbCr, true}, L"progressive-named_800x600.jpg", kFourColours, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source);
        ResizeWorkspace workspace;
        ASSERT_TRUE(workspace.ready());
        const std::wstring source = workspace.picture(c.source);
        const bool grey = c.form.colours == JCS_GRAYSCALE;
        const bool inks = c.form.colours == JCS_CMYK;
        const Bytes photo = jpegInForm(c.form, 1600, 1200, kFourColours);
        // A grey photo's profile stays with its grey copy; a print profile
        // does not go with the copy in colours.
        const Bytes profile = profileSegment(grey ? "GRAY" : "CMYK");
        ASSERT_TRUE(writeFileBytes(source, grey || inks ? withSegments(photo, jpegSegment(0xE2, profile)) : photo));

        EXPECT_TRUE(runsPellavo(L"-size 800x600 " + source));

        EXPECT_TRUE(wroteAndOpened(workspace, {c.source}, c.copy));
        const std::optional<DecodedPicture> picture = decodePicture(workspace.picture(c.copy));
        ASSERT_TRUE(picture) << "the copy does not decode: " << fileSummary(workspace.picture(c.copy));
        EXPECT_EQ(picture->width, 800);
        EXPECT_EQ(picture->height, 600);
        EXPECT_TRUE(showsQuadrants(*picture, c.shown));
        if (c.components == 0) continue;
        const std::optional<Bytes> copy = readFileBytes(workspace.picture(c.copy));
        ASSERT_TRUE(copy);
        EXPECT_EQ(frameComponents(*copy), c.components);
        MemorySource bytes(copy->data(), copy->size());
        JpegSegments kept;
        ASSERT_TRUE(readHeadSegments(bytes, kept));
        EXPECT_EQ(kept.size(), grey ? 1u : 0u);
        if (grey && !kept.empty()) {
            EXPECT_EQ(kept[0].data, profile);
        }
    }
}

TEST_F(ResizeCommand, ResizesWhatWindowsCodecsReadIntoTheirOwnKindOrAPortableOne)
{
    // The quadrants, with a clear border where the form holds alpha.
    const auto quadrants = [](int width, int height, bool clearBorder) {
        return [=](int x, int y) {
            if (clearBorder && (x < 2 || y < 2 || x >= width - 2 || y >= height - 2)) return Colour{0, 0, 0, 0};
            const Colour colours[] = {kRed, kGreen, kBlue, kYellow};
            return colours[(y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)];
        };
    };
    const Bytes profile = profileIn("RGB ");
    // Stored as 160 x 120 and tagged 6: shown turned clockwise.
    const Quadrants turned = {kBlue, kRed, kYellow, kGreen};
    const struct {
        const wchar_t* source;
        Bytes bytes;
        const wchar_t* copy;
        Encoding encoding;
        int width, height;
        Quadrants shown;
        bool transparentCorner;
    } cases[] = {
        {L"scan.tif", tiffBytes(160, 120, quadrants(160, 120, false), 6, profile), L"scan_450x600.tif", Encoding::Tiff,
         450, 600, turned, false},
        {L"icon.ico", iconBytes(64, 64, quadrants(64, 64, true)), L"icon_600x600.png", Encoding::Png, 600, 600,
         kFourColours, true},
        {L"sprite.tga", targaBytes(80, 60, quadrants(80, 60, true)), L"sprite_800x600.png", Encoding::Png, 800, 600,
         kFourColours, true},
        // Made by jxrlib's JxrEncApp from the opaque quadrants, 160 x 120:
        // nothing here writes JPEG XR in process.
        {L"photo.jxr", readFileBytes(kE2eData + L"/quadrants.jxr").value_or(Bytes()), L"photo_800x600.jpg",
         Encoding::Jpeg, 800, 600, kFourColours, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source);
        ResizeWorkspace workspace;
        ASSERT_TRUE(workspace.ready());
        ASSERT_FALSE(c.bytes.empty());
        ASSERT_TRUE(writeFileBytes(workspace.picture(c.source), c.bytes));

        EXPECT_TRUE(runsPellavo(L"-size 800x600 " + workspace.picture(c.source)));

        EXPECT_TRUE(wroteAndOpened(workspace, {c.source}, c.copy));
        EXPECT_EQ(encodingOf(workspace.picture(c.copy)), c.encoding);
        const std::optional<DecodedPicture> picture = decodePicture(workspace.picture(c.copy));
        ASSERT_TRUE(picture) << "the copy does not decode: " << fileSummary(workspace.picture(c.copy));
        EXPECT_EQ(picture->width, c.width);
        EXPECT_EQ(picture->height, c.height);
        EXPECT_TRUE(showsQuadrants(*picture, c.shown));
        EXPECT_EQ(picture->at(0, 0).alpha == 0, c.transparentCorner);
        if (c.encoding != Encoding::Tiff) continue;
        // The profile, read back as any WIC reader sees it.
        WicDecoder copy;
        ASSERT_EQ(copy.open(workspace.picture(c.copy).c_str()), DecodeStatus::Decoded);
        EXPECT_EQ(copy.metadata().colourProfile, profile);
        EXPECT_EQ(copy.orientation(), 1);
    }
}

TEST_F(ResizeCommand, AWebpOrPngGivesACopyOfItsOwnKindAndForm)
{
    // 400 x 300 of gradients, with a see-through band where alpha is asked for.
    const auto picture = [](int channels) {
        PixelBuffer pixels;
        EXPECT_TRUE(pixels.allocate(400, 300, channels));
        const MutablePixelView view = pixels.mutableView();
        for (int32_t y = 0; y < 300; ++y)
            for (int32_t x = 0; x < 400; ++x) {
                uint8_t* pixel = view.row(y) + x * channels;
                for (int c = 0; c < 3; ++c) pixel[c] = static_cast<uint8_t>((x + y * c) % 256);
                if (channels == 4) pixel[3] = y < 30 ? 0 : 255;
            }
        return pixels;
    };
    PictureMetadata tagged;
    tagged.colourProfile = profileIn("RGB ");
    ExifContent content;
    content.orientation = 6;
    const ExifSegment exif = makeExifSegment(content);
    tagged.exif.assign(exif.data.begin() + 6, exif.data.end());  // the TIFF block after "Exif\0\0"
    PictureMetadata taggedWithXmp = tagged;
    const std::string xmp = "<x:xmpmeta xmlns:x='adobe:ns:meta/'/>";
    taggedWithXmp.xmp.assign(xmp.begin(), xmp.end());
    const struct {
        PictureKind kind;
        const wchar_t* source;
        int channels;
        bool lossless;
        PictureMetadata metadata;
        const wchar_t* copy;
        int width, height;
    } cases[] = {
        {PictureKind::WebP, L"lossy.webp", 3, false, {}, L"lossy_800x600.webp", 800, 600},
        {PictureKind::WebP, L"lossless.webp", 3, true, {}, L"lossless_800x600.webp", 800, 600},
        {PictureKind::WebP, L"alpha.webp", 4, false, {}, L"alpha_800x600.webp", 800, 600},
        // Shown turned: fitted upright, its Exif then saying so.
        {PictureKind::WebP, L"tagged.WEBP", 3, false, tagged, L"tagged_450x600.WEBP", 450, 600},
        {PictureKind::Png, L"alpha.png", 4, false, {}, L"alpha_800x600.png", 800, 600},
        {PictureKind::Png, L"tagged.png", 3, false, taggedWithXmp, L"tagged_450x600.png", 450, 600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source);
        ResizeWorkspace workspace;
        ASSERT_TRUE(workspace.ready());
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(c.kind == PictureKind::Png ? encodePng(picture(c.channels).view(), c.metadata, bytes)
                                               : encodeWebp(picture(c.channels).view(), c.metadata, c.lossless, bytes));
        ASSERT_TRUE(writeFileBytes(workspace.picture(c.source), Bytes(bytes.begin(), bytes.end())));

        EXPECT_TRUE(runsPellavo(L"-size 800x600 " + workspace.picture(c.source)));

        EXPECT_TRUE(wroteAndOpened(workspace, {c.source}, c.copy));
        const std::optional<Bytes> copy = readFileBytes(workspace.picture(c.copy));
        ASSERT_TRUE(copy);
        std::unique_ptr<PictureDecoder> opened;
        ASSERT_EQ(openOwnDecoder(copy->data(), std::min(copy->size(), kHeadBytes),
                                 std::make_unique<MemorySource>(copy->data(), copy->size()), opened),
                  DecodeStatus::Decoded);
        PictureDecoder& decoder = *opened;
        EXPECT_EQ(decoder.kind(), c.kind);
        EXPECT_EQ(decoder.storedSize(), (ImageSize{c.width, c.height}));
        EXPECT_EQ(decoder.isLossless(), c.lossless);
        EXPECT_EQ(decoder.orientation(), 1);
        EXPECT_EQ(decoder.metadata().colourProfile, c.metadata.colourProfile);
        EXPECT_EQ(decoder.metadata().xmp, c.metadata.xmp);
        EXPECT_EQ(decoder.metadata().exif.empty(), c.metadata.exif.empty());
        PixelBuffer pixels;
        ASSERT_EQ(decodeWhole(decoder, decoder.storedSize(), pixels), DecodeStatus::Decoded);
        EXPECT_EQ(pixels.view().channels, c.channels);
        if (c.channels == 4) {
            EXPECT_EQ(pixels.view().row(0)[3], 0);
            EXPECT_EQ(pixels.view().row(c.height - 1)[3], 255);
        }
    }
}

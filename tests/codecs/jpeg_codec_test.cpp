#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "codecs/decode_whole.h"
#include "codecs/jpeg_decoder.h"
#include "codecs/jpeg_encoder.h"
#include "codecs/picture_codecs.h"
#include "codecs/png_encoder.h"
#include "codecs/webp_encoder.h"
#include "tests/support/jpeg_forms.h"

#include <lcms2.h>

namespace {

using Bytes = std::vector<uint8_t>;

// Blue, green, red of the picture's four quadrants: top left, top right, bottom left, bottom right.
const uint8_t kQuadrants[4][3] = {{30, 40, 200}, {60, 180, 30}, {220, 60, 20}, {240, 240, 240}};
const Quadrants kFill = {{200, 40, 30}, {30, 180, 60}, {20, 60, 220}, {240, 240, 240}};

const uint8_t* quadrantAt(int32_t x, int32_t y, int32_t width, int32_t height)
{
    return kQuadrants[(y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)];
}

int lumaOf(const uint8_t* bgr)
{
    return lumaOf(Colour{bgr[2], bgr[1], bgr[0]});
}

PixelBuffer quadrantPicture(int32_t width, int32_t height, int32_t channels)
{
    PixelBuffer picture;
    EXPECT_TRUE(picture.allocate(width, height, channels));
    const MutablePixelView view = picture.mutableView();
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* pixel = view.row(y) + x * channels;
            std::copy_n(quadrantAt(x, y, width, height), 3, pixel);
            if (channels == 4) pixel[3] = 255;
        }
    return picture;
}

// The quadrants in a form our encoder never writes, by libjpeg itself.
Bytes writtenAs(const JpegForm& form, int32_t width = 64, int32_t height = 48)
{
    return jpegInForm(form, width, height, kFill);
}

Bytes encoded(const PixelView& pixels, const JpegSegments& segments = {})
{
    Bytes file;
    EXPECT_TRUE(encodeJpeg(pixels, segments, file));
    return file;
}

struct Decoded {
    DecodeStatus header = DecodeStatus::NotForThisDecoder;
    DecodeStatus status = DecodeStatus::NotForThisDecoder;
    PixelBuffer pixels;
    JpegSegments segments;
};

// Larger than any JPEG: decodes at full size.
constexpr ImageSize kFullSize = {65536, 65536};

Decoded decoded(const Bytes& file, ImageSize smallest = kFullSize)
{
    Decoded result;
    MemorySource source(file.data(), file.size());
    JpegDecoder decoder;
    result.header = decoder.readHeader(source);
    result.status = decodeWhole(decoder, smallest, result.pixels);
    result.segments = decoder.segments();
    return result;
}

// Each quadrant's middle near its colour; grey pictures, of one channel, near its luma.
void expectQuadrants(const PixelView& view, bool grey, const std::string& what)
{
    ASSERT_EQ(view.channels, grey ? 1 : 3) << what;
    for (int32_t y : {view.height / 4, view.height * 3 / 4})
        for (int32_t x : {view.width / 4, view.width * 3 / 4}) {
            const uint8_t* want = quadrantAt(x, y, view.width, view.height);
            for (int c = 0; c < view.channels; ++c)
                EXPECT_NEAR(view.row(y)[x * view.channels + c], grey ? lumaOf(want) : want[c], 8)
                    << what << ": pixel " << x << "," << y << " channel " << c;
        }
}

size_t find(const Bytes& file, const Bytes& what, size_t from = 0)
{
    return static_cast<size_t>(std::search(file.begin() + static_cast<std::ptrdiff_t>(from), file.end(),
                                            what.begin(), what.end()) - file.begin());
}

// Where the compressed pixels of the first scan start.
size_t scanData(const Bytes& file)
{
    const size_t scan = find(file, {0xFF, 0xDA});
    return scan + 2 + static_cast<size_t>(file[scan + 2] << 8 | file[scan + 3]);
}

Bytes edited(Bytes file, size_t at, const Bytes& replacement, size_t removed = 0)
{
    const auto where = file.begin() + static_cast<std::ptrdiff_t>(at);
    const auto kept = file.erase(where, where + static_cast<std::ptrdiff_t>(removed));
    file.insert(kept, replacement.begin(), replacement.end());
    return file;
}

}  // namespace

TEST(JpegCodec, DecodesAtTheSmallestScaleStillLargeEnough)
{
    const struct {
        ImageSize stored, smallest, decoded;
    } rows[] = {
        {{160, 120}, {0, 0}, {20, 15}},     {{160, 120}, {20, 15}, {20, 15}},  {{160, 120}, {21, 15}, {40, 30}},
        {{160, 120}, {40, 31}, {80, 60}},   {{160, 120}, {80, 60}, {80, 60}},  {{160, 120}, {81, 60}, {160, 120}},
        {{160, 120}, {800, 600}, {160, 120}}, {{161, 121}, {10, 10}, {21, 16}}, {{161, 121}, {42, 31}, {81, 61}},
    };
    for (const auto& row : rows) {
        const PixelBuffer picture = quadrantPicture(row.stored.width, row.stored.height, 3);
        const Decoded result = decoded(encoded(picture.view()), row.smallest);
        const std::string what = "from " + std::to_string(row.stored.width) + " for " +
                                 std::to_string(row.smallest.width) + "x" + std::to_string(row.smallest.height);
        ASSERT_EQ(result.status, DecodeStatus::Decoded) << what;
        const PixelView view = result.pixels.view();
        EXPECT_EQ((ImageSize{view.width, view.height}), row.decoded) << what;
        expectQuadrants(view, false, what);
    }
}

TEST(JpegCodec, DecodesEveryFormOfGreyOrColourPixels)
{
    const struct {
        const char* what;
        JpegForm form;
    } rows[] = {
        {"baseline", {}},
        {"grey", {JCS_GRAYSCALE}},
        {"RGB", {JCS_RGB}},
        {"progressive", {JCS_YCbCr, true}},
        {"arithmetic", {JCS_YCbCr, false, true}},
        {"progressive arithmetic grey", {JCS_GRAYSCALE, true, true}},
        {"restart markers", {JCS_YCbCr, false, false, 1}},
        // Inks come out as the colours they print.
        {"CMYK", {JCS_CMYK}},
        {"YCCK", {JCS_YCCK}},
        {"progressive CMYK", {JCS_CMYK, true}},
    };
    for (const auto& row : rows) {
        const Decoded result = decoded(writtenAs(row.form), {32, 24});
        ASSERT_EQ(result.status, DecodeStatus::Decoded) << row.what;
        EXPECT_EQ(result.pixels.view().width, 32) << row.what;
        expectQuadrants(result.pixels.view(), row.form.colours == JCS_GRAYSCALE, row.what);
    }
}

// A press profile as Ghostscript ships it (scripts/setup.sh installs it).
Bytes pressProfile()
{
    std::ifstream file(PELLAVO_CMYK_PROFILE, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// What Little CMS prints, as sRGB, for a colour that jpegInForm stored as
// Adobe's inverted inks with no black.
Colour printedThrough(const Bytes& profile, const Colour& stored)
{
    cmsHPROFILE cmyk = cmsOpenProfileFromMem(profile.data(), static_cast<cmsUInt32Number>(profile.size()));
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform = cmsCreateTransform(cmyk, TYPE_CMYK_8, srgb, TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
    const uint8_t inks[4] = {static_cast<uint8_t>(255 - stored.red), static_cast<uint8_t>(255 - stored.green),
                             static_cast<uint8_t>(255 - stored.blue), 0};
    uint8_t rgb[3] = {};
    cmsDoTransform(transform, inks, rgb, 1);
    cmsDeleteTransform(transform);
    cmsCloseProfile(srgb);
    cmsCloseProfile(cmyk);
    return {rgb[0], rgb[1], rgb[2]};
}

TEST(JpegCodec, InksPrintThroughThePhotosOwnCmykProfileElseAsPlainInks)
{
    const Bytes press = pressProfile();
    if (press.empty()) GTEST_SKIP() << PELLAVO_CMYK_PROFILE << " is missing";
    Bytes rgbProfile(press.begin(), press.begin() + 128);
    std::copy_n("RGB ", 4, rgbProfile.begin() + 16);
    const struct {
        const char* what;
        J_COLOR_SPACE colours;
        bool progressive;
        Bytes profile;
        bool throughProfile;
    } rows[] = {
        {"CMYK with its profile", JCS_CMYK, false, press, true},
        {"YCCK with its profile", JCS_YCCK, false, press, true},
        {"progressive CMYK with its profile", JCS_CMYK, true, press, true},
        {"CMYK with a profile of colours", JCS_CMYK, false, rgbProfile, false},
        {"CMYK with a damaged profile", JCS_CMYK, false, Bytes(press.begin(), press.begin() + 1000), false},
    };
    const Colour fills[] = {kFill.topLeft, kFill.topRight, kFill.bottomLeft, kFill.bottomRight};
    for (const auto& row : rows) {
        JpegForm form{row.colours, row.progressive};
        form.quality = 95;
        const Decoded result = decoded(jpegInForm(form, 64, 48, kFill, row.profile));
        ASSERT_EQ(result.status, DecodeStatus::Decoded) << row.what;
        const PixelView view = result.pixels.view();
        for (int quadrant = 0; quadrant < 4; ++quadrant) {
            const int32_t x = quadrant % 2 ? 48 : 16;
            const int32_t y = quadrant / 2 ? 36 : 12;
            const uint8_t* bgr = view.row(y) + x * 3;
            const Colour want = row.throughProfile ? printedThrough(press, fills[quadrant]) : fills[quadrant];
            // JPEG's loss, which a press profile's curves may steepen a little.
            EXPECT_TRUE(nearColour({bgr[2], bgr[1], bgr[0]}, want, 6))
                << row.what << ", quadrant " << quadrant << ": " << Colour{bgr[2], bgr[1], bgr[0]} << " for "
                << want;
        }
    }
}

// A progressive header that declares 65500 x 65500 pixels, and the start of its first scan.
Bytes hugeProgressiveHead()
{
    Bytes head = writtenAs({JCS_YCbCr, true});
    const size_t frame = find(head, {0xFF, 0xC2});
    head = edited(head, frame + 5, {0xFF, 0xDC, 0xFF, 0xDC}, 4);
    head.resize(scanData(head) + 16);
    return head;
}

TEST(JpegCodec, LeavesOtherFilesToOthersAndDecodesNothingDamaged)
{
    const Bytes baseline = writtenAs({});
    const size_t frame = find(baseline, {0xFF, 0xC0});
    const Bytes progressive = writtenAs({JCS_YCbCr, true});
    const Bytes arithmetic = writtenAs({JCS_YCbCr, false, true});
    const Bytes restarts = writtenAs({JCS_YCbCr, false, false, 1});
    const Bytes grey = writtenAs({JCS_GRAYSCALE});
    const auto cut = [](const Bytes& file, size_t size) { return edited(file, size, {}, file.size() - size); };
    const auto middle = [](const Bytes& file) { return (scanData(file) + file.size()) / 2; };
    const auto withoutEnd = [&](const Bytes& file) { return cut(file, file.size() - 2); };
    const Bytes badCode = {0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00};
    constexpr DecodeStatus kNotJpeg = DecodeStatus::NotForThisDecoder;
    constexpr DecodeStatus kRead = DecodeStatus::Decoded;
    constexpr DecodeStatus kCorrupt = DecodeStatus::Corrupt;
    const struct {
        const char* what;
        Bytes file;
        DecodeStatus header;
        DecodeStatus status;
    } rows[] = {
        {"lossless", edited(baseline, frame + 1, {0xC3}, 1), kNotJpeg, kNotJpeg},
        {"12-bit", edited(baseline, frame + 4, {12}, 1), kNotJpeg, kNotJpeg},
        {"PNG", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D}, kNotJpeg, kNotJpeg},
        {"nothing", {}, kNotJpeg, kNotJpeg},
        // A JPEG whose header is damaged is no other decoder's.
        {"cut in its header", cut(baseline, frame), kCorrupt, kNotJpeg},
        {"no pixels in its frame", edited(baseline, frame + 5, {0, 0, 0, 0}, 4), kCorrupt, kNotJpeg},
        {"a quantisation table of an unknown number", edited(baseline, find(baseline, {0xFF, 0xDB}) + 4, {0x0F}, 1),
         kCorrupt, kNotJpeg},
        {"baseline cut in its pixels", cut(baseline, middle(baseline)), kRead, kCorrupt},
        {"progressive cut in its pixels", cut(progressive, middle(progressive)), kRead, kCorrupt},
        {"arithmetic cut in its pixels", cut(arithmetic, middle(arithmetic)), kRead, kCorrupt},
        {"progressive cut before its second scan", cut(progressive, find(progressive, {0xFF, 0xDA}, scanData(progressive))),
         kRead, kCorrupt},
        // Only a single Huffman scan tells by itself that nothing is missing.
        {"baseline without its end marker", withoutEnd(baseline), kRead, kRead},
        {"grey without its end marker", withoutEnd(grey), kRead, kRead},
        {"restart markers without the end marker", withoutEnd(restarts), kRead, kRead},
        {"progressive without its end marker", withoutEnd(progressive), kRead, kCorrupt},
        {"arithmetic without its end marker", withoutEnd(arithmetic), kRead, kCorrupt},
        {"bad Huffman code", edited(baseline, middle(baseline), badCode, badCode.size()), kRead, kCorrupt},
        {"marker in the pixels", edited(baseline, middle(baseline), {0xFF, 0xC4}), kRead, kCorrupt},
        {"more scans than any photo has", writtenAs({JCS_GRAYSCALE, false, false, 0, true}), kRead, kCorrupt},
        {"restart marker out of turn",
         edited(restarts, find(restarts, {0xFF, 0xD0}, scanData(restarts)), {0xFF, 0xD5}, 2), kRead, kCorrupt},
        {"bytes before a header marker", edited(baseline, find(baseline, {0xFF, 0xDB}), Bytes(9, 0x20)), kRead, kRead},
        {"bytes before the end marker", edited(baseline, baseline.size() - 2, Bytes(16, 0)), kRead, kRead},
        // Its coefficients alone would take 13 GB.
        {"65500 x 65500 progressive", hugeProgressiveHead(), kRead, DecodeStatus::TooLarge},
    };
    for (const auto& row : rows) {
        const Decoded result = decoded(row.file, {8, 8});
        EXPECT_EQ(result.header, row.header) << row.what;
        EXPECT_EQ(result.status, row.status) << row.what;
        EXPECT_EQ(result.pixels.view().pixels != nullptr, row.status == kRead) << row.what;
    }
}

TEST(JpegCodec, WritesSegmentsInTheirOrderAndReadsBackApp1AndApp2)
{
    const PixelBuffer picture = quadrantPicture(40, 30, 3);
    const JpegSegment icc1 = {0xE2, Bytes(65533, 0x11)};
    const JpegSegment exif = {0xE1, {'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42}};
    const JpegSegment xmp = {0xE1, {'h', 't', 't', 'p', ':', '/', '/'}};
    const JpegSegment icc2 = {0xE2, {'I', 'C', 'C', 0xFF, 0xD9}};
    const JpegSegment photoshop = {0xED, {'8', 'B', 'I', 'M'}};
    const JpegSegment comment = {0xFE, {'h', 'i'}};

    const Decoded photo = decoded(encoded(picture.view(), {icc1, photoshop, exif, xmp, comment, icc2}));
    ASSERT_EQ(photo.status, DecodeStatus::Decoded);
    ASSERT_EQ(photo.segments.size(), 4u);
    const JpegSegment expected[] = {icc1, exif, xmp, icc2};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(photo.segments[i].marker, expected[i].marker) << i;
        EXPECT_EQ(photo.segments[i].data, expected[i].data) << i;
    }

    // Exif stands straight after the start marker, with no JFIF segment before it.
    const Bytes withExif = encoded(picture.view(), {exif});
    EXPECT_EQ(Bytes(withExif.begin() + 2, withExif.begin() + 4), (Bytes{0xFF, 0xE1}));
    const Bytes withoutExif = encoded(picture.view(), {xmp});
    EXPECT_EQ(Bytes(withoutExif.begin() + 2, withoutExif.begin() + 4), (Bytes{0xFF, 0xE0}));
}

TEST(JpegCodec, EncodesBaselineQuality95With420AndOptimisedTables)
{
    const PixelBuffer picture = quadrantPicture(64, 48, 3);
    const Bytes ours = encoded(picture.view());
    JpegForm quality95;
    quality95.quality = 95;
    const Bytes libjpegs = writtenAs(quality95, 64, 48);
    const auto part = [](const Bytes& file, uint8_t from, uint8_t to) {
        return Bytes(file.begin() + static_cast<std::ptrdiff_t>(find(file, {0xFF, from})),
                     file.begin() + static_cast<std::ptrdiff_t>(find(file, {0xFF, to})));
    };
    // libjpeg's own quality 95 tables, then a baseline frame with 2x2 luma and 1x1 chroma samples.
    EXPECT_EQ(part(ours, 0xDB, 0xC4), part(libjpegs, 0xDB, 0xC4));
    // Huffman tables made for these pixels, not the standard ones.
    EXPECT_NE(part(ours, 0xC4, 0xDA), part(libjpegs, 0xC4, 0xDA));
}

TEST(JpegCodec, GreyPixelsGiveAGreyFileOfOneComponent)
{
    PixelBuffer grey;
    ASSERT_TRUE(grey.allocate(40, 30, 1));
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 40; ++x) grey.mutableView().row(y)[x] = static_cast<uint8_t>(x < 20 ? 40 : 200);
    const Bytes file = encoded(grey.view());
    const size_t frame = find(file, {0xFF, 0xC0});
    ASSERT_LT(frame + 9, file.size());
    EXPECT_EQ(file[frame + 9], 1) << "components in the frame";
    const Decoded back = decoded(file);
    ASSERT_EQ(back.status, DecodeStatus::Decoded);
    ASSERT_EQ(back.pixels.view().channels, 1);
    EXPECT_NEAR(back.pixels.view().row(15)[5], 40, 3);
    EXPECT_NEAR(back.pixels.view().row(15)[35], 200, 3);
}

TEST(JpegCodec, EncoderLaysAlphaOverWhiteFollowsTheStrideAndRefusesWhatItCannotWrite)
{
    PixelBuffer translucent = quadrantPicture(32, 32, 4);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 32; ++x) translucent.mutableView().row(y)[x * 4 + 3] = x < 16 ? 0 : 128;
    const Decoded overWhite = decoded(encoded(translucent.view()));
    ASSERT_EQ(overWhite.status, DecodeStatus::Decoded);
    const uint8_t* clear = overWhite.pixels.view().row(8) + 8 * 3;
    const uint8_t* half = overWhite.pixels.view().row(8) + 24 * 3;
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(clear[c], 255, 4) << c;
        EXPECT_NEAR(half[c], (kQuadrants[1][c] + 255) / 2, 6) << c;
    }

    // Bottom-up rows, as in a Windows bitmap: the first row in memory is the last one shown.
    const PixelBuffer picture = quadrantPicture(32, 32, 3);
    PixelView bottomUp = picture.view();
    bottomUp.pixels = bottomUp.row(31);
    bottomUp.stride = -bottomUp.stride;
    const Decoded turned = decoded(encoded(bottomUp));
    ASSERT_EQ(turned.status, DecodeStatus::Decoded);
    EXPECT_NEAR(turned.pixels.view().row(4)[4 * 3], kQuadrants[2][0], 8) << "bottom left shown top left";

    const struct {
        const char* what;
        PixelView pixels;
        JpegSegments segments;
    } refused[] = {
        {"no pixels", PixelView{}, {}},
        {"segment too long", picture.view(), {{0xE1, Bytes(65534, 0)}}},
        {"frame marker as a segment", picture.view(), {{0xC0, Bytes(3, 0)}}},
    };
    for (const auto& row : refused) {
        Bytes file = {1};
        EXPECT_FALSE(encodeJpeg(row.pixels, row.segments, file)) << row.what;
        EXPECT_TRUE(file.empty()) << row.what;
    }
}

TEST(PictureCodecs, TheFirstBytesChooseTheCodecWhateverTheName)
{
    const Bytes jpeg = writtenAs({});
    PixelBuffer pixels;
    ASSERT_TRUE(pixels.allocate(16, 12, 3));
    std::vector<uint8_t> webp;
    ASSERT_TRUE(encodeWebp(pixels.view(), {}, true, webp));
    std::vector<uint8_t> png;
    ASSERT_TRUE(encodePng(pixels.view(), {}, png));
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 16, 0, 12, 0};
    const Bytes heic = {0, 0, 0, 0x18, 'f', 't', 'y', 'p', 'h', 'e', 'i', 'c'};
    const Bytes avif = {0, 0, 0, 0x18, 'f', 't', 'y', 'p', 'a', 'v', 'i', 'f'};
    const Bytes jpegXl = {0xFF, 0x0A, 0xFA};
    const struct {
        const char* what;
        Bytes file;
        DecodeStatus status;
        PictureKind kind;
        bool needsACodec;
    } rows[] = {
        {"JPEG", jpeg, DecodeStatus::Decoded, PictureKind::Jpeg, false},
        {"WebP", Bytes(webp.begin(), webp.end()), DecodeStatus::Decoded, PictureKind::WebP, false},
        {"PNG", Bytes(png.begin(), png.end()), DecodeStatus::Decoded, PictureKind::Png, false},
        {"JPEG cut in its header", Bytes(jpeg.begin(), jpeg.begin() + 30), DecodeStatus::Corrupt, PictureKind::Other, false},
        {"PNG cut in its header", Bytes(png.begin(), png.begin() + 20), DecodeStatus::Corrupt, PictureKind::Other, false},
        // Left to Windows' codecs.
        {"GIF", gif, DecodeStatus::NotForThisDecoder, PictureKind::Other, false},
        {"HEIC", heic, DecodeStatus::NotForThisDecoder, PictureKind::Other, true},
        {"AVIF", avif, DecodeStatus::NotForThisDecoder, PictureKind::Other, true},
        {"JPEG XL", jpegXl, DecodeStatus::NotForThisDecoder, PictureKind::Other, true},
        {"nothing", {}, DecodeStatus::NotForThisDecoder, PictureKind::Other, false},
    };
    for (const auto& row : rows) {
        std::unique_ptr<PictureDecoder> decoder;
        const size_t head = std::min(row.file.size(), kHeadBytes);
        EXPECT_EQ(openOwnDecoder(row.file.data(), head, std::make_unique<MemorySource>(row.file.data(), row.file.size()),
                                 decoder),
                  row.status)
            << row.what;
        EXPECT_EQ(decoder != nullptr, row.status == DecodeStatus::Decoded) << row.what;
        if (decoder) {
            EXPECT_EQ(decoder->kind(), row.kind) << row.what;
        }
        EXPECT_EQ(needsAnInstalledCodec(row.file.data(), head), row.needsACodec) << row.what;
    }
}

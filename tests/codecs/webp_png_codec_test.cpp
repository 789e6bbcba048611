#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <spng.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include "codecs/decode_whole.h"
#include "codecs/exif_patch.h"
#include "codecs/jpeg_metadata.h"
#include "codecs/png_decoder.h"
#include "codecs/png_encoder.h"
#include "codecs/webp_decoder.h"
#include "codecs/webp_encoder.h"
#include "codecs/profile_fit.h"
#include "tests/support/exif_orientation.h"

namespace {

// Blue, green, red and alpha of the quadrants: top left, top right, bottom left, bottom right.
const uint8_t kQuadrants[4][4] = {{30, 40, 200, 255}, {60, 180, 30, 128}, {220, 60, 20, 0}, {240, 240, 240, 255}};
const uint8_t kSecondFrame[4] = {200, 100, 50, 255};

// The quadrants, grey ones of their green, with their alpha where `translucent`.
PixelBuffer quadrants(int32_t width, int32_t height, int32_t channels, bool translucent = false)
{
    PixelBuffer picture;
    EXPECT_TRUE(picture.allocate(width, height, channels));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* colour = kQuadrants[(y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)];
            uint8_t* pixel = picture.mutableView().row(y) + x * channels;
            std::copy_n(channels == 1 ? colour + 1 : colour, std::min(channels, 3), pixel);
            if (channels == 4) pixel[3] = translucent ? colour[3] : 255;
        }
    return picture;
}

Bytes encoded(const PixelView& pixels, bool lossless = false, const PictureMetadata& metadata = {})
{
    Bytes file;
    EXPECT_TRUE(encodeWebp(pixels, metadata, lossless, file));
    return file;
}

Bytes pngOf(const PixelView& pixels, const PictureMetadata& metadata = {})
{
    Bytes file;
    EXPECT_TRUE(encodePng(pixels, metadata, file));
    return file;
}

struct MuxDeleter {
    void operator()(WebPMux* mux) const { WebPMuxDelete(mux); }
};

// Two stills as frames of an animation by libwebp's muxer: the first at (x, y), the second over the whole canvas.
Bytes framed(const Bytes& first, int x, int y, const Bytes& second, const ImageSize& canvas)
{
    const std::unique_ptr<WebPMux, MuxDeleter> mux(WebPMuxNew());
    for (const Bytes* still : {&first, &second}) {
        WebPMuxFrameInfo frame = {};
        frame.bitstream = {still->data(), still->size()};
        frame.x_offset = still == &first ? x : 0;
        frame.y_offset = still == &first ? y : 0;
        frame.duration = 100;
        frame.id = WEBP_CHUNK_ANMF;
        EXPECT_EQ(WebPMuxPushFrame(mux.get(), &frame, 1), WEBP_MUX_OK);
    }
    const WebPMuxAnimParams loop = {0xFFFFFFFF, 0};
    EXPECT_EQ(WebPMuxSetAnimationParams(mux.get(), &loop), WEBP_MUX_OK);
    EXPECT_EQ(WebPMuxSetCanvasSize(mux.get(), canvas.width, canvas.height), WEBP_MUX_OK);
    WebPData data;
    WebPDataInit(&data);
    EXPECT_EQ(WebPMuxAssemble(mux.get(), &data), WEBP_MUX_OK);
    const Bytes file(data.bytes, data.bytes + data.size);
    WebPDataClear(&data);
    return file;
}

struct Decoded {
    DecodeStatus header = DecodeStatus::NotForThisDecoder;
    DecodeStatus status = DecodeStatus::NotForThisDecoder;
    ImageSize stored;
    PixelBuffer pixels;
    PictureMetadata metadata;
    int orientation = 0;
    bool lossless = false;
};

constexpr ImageSize kFullSize = {65536, 65536};

// A file a decoder refuses, and how far it gets: the head, then the pixels.
struct RefusedFile {
    const char* what;
    Bytes file;
    DecodeStatus header;
    DecodeStatus status;
};

template <typename Decoder = WebpDecoder>
Decoded decoded(const Bytes& file, const ImageSize& smallest = kFullSize)
{
    Decoded result;
    MemorySource source(file.data(), file.size());
    Decoder decoder;
    result.header = decoder.readHeader(source);
    result.status = decodeWhole(decoder, smallest, result.pixels);
    result.stored = decoder.storedSize();
    result.metadata = decoder.metadata();
    result.orientation = decoder.orientation();
    result.lossless = decoder.isLossless();
    return result;
}

template <typename Decoder, size_t count>
void expectRefused(const RefusedFile (&rows)[count])
{
    for (const RefusedFile& row : rows) {
        const Decoded result = decoded<Decoder>(row.file, {8, 8});
        EXPECT_EQ(result.header, row.header) << row.what;
        EXPECT_EQ(result.status, row.status) << row.what;
        EXPECT_EQ(result.pixels.view().pixels, nullptr) << row.what;
    }
}

// In the middle of each cell of a 4 x 4 grid, the decoded pixel is near the
// source's at the same place, grey as BGR; its alpha is the same, and its
// colour not compared where that is 0.
void expectLike(const PixelView& decoded, const PixelView& source, int tolerance, const std::string& what)
{
    for (int32_t i = 1; i < 8; i += 2)
        for (int32_t j = 1; j < 8; j += 2) {
            const uint8_t* got = decoded.row(decoded.height * j / 8) + decoded.width * i / 8 * decoded.channels;
            const uint8_t* want = source.row(source.height * j / 8) + source.width * i / 8 * source.channels;
            const int alpha = source.channels == 4 ? want[3] : 255;
            const std::string where = what + " at " + std::to_string(i) + "," + std::to_string(j);
            EXPECT_EQ(decoded.channels == 4 ? got[3] : 255, alpha) << where;
            for (int c = 0; c < 3 && alpha > 0; ++c)
                EXPECT_NEAR(got[c], want[source.channels == 1 ? 0 : c], tolerance) << where;
        }
}

// The first frame of `framedQuadrants`: opaque quadrants at (16, 8) on a transparent 64 x 48 canvas.
PixelBuffer quadrantsOnCanvas()
{
    const PixelBuffer frame = quadrants(32, 24, 4);
    PixelBuffer canvas;
    EXPECT_TRUE(canvas.allocate(64, 48, 4));
    for (int32_t y = 0; y < 24; ++y)
        std::copy_n(frame.view().row(y), 32 * 4, canvas.mutableView().row(y + 8) + 16 * 4);
    return canvas;
}

Bytes framedQuadrants()
{
    PixelBuffer second;
    EXPECT_TRUE(second.allocate(64, 48, 3));
    return framed(encoded(quadrants(32, 24, 3).view(), true), 16, 8, encoded(second.view()), {64, 48});
}

Bytes edited(Bytes file, size_t at, const Bytes& bytes)
{
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
    return file;
}

Bytes asLittleEndian(uint32_t value)
{
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24)};
}

// The first `size` bytes, and where `mended`, a simple file's RIFF and chunk sizes made to fit them.
// The PNG with the chunks of the given types moved, whole, to just before IEND.
Bytes afterImageData(const Bytes& png, std::initializer_list<const char*> types)
{
    Bytes kept(png.begin(), png.begin() + 8), moved;
    for (size_t at = 8; at + 12 <= png.size();) {
        const size_t length = size_t{png[at]} << 24 | size_t{png[at + 1]} << 16 | size_t{png[at + 2]} << 8 | png[at + 3];
        const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at + 4), png.begin() + static_cast<std::ptrdiff_t>(at + 8));
        const Bytes chunk(png.begin() + static_cast<std::ptrdiff_t>(at), png.begin() + static_cast<std::ptrdiff_t>(at + 12 + length));
        bool late = false;
        for (const char* wanted : types) late = late || type == wanted;
        if (type == "IEND") kept.insert(kept.end(), moved.begin(), moved.end());
        (late ? moved : kept).insert((late ? moved : kept).end(), chunk.begin(), chunk.end());
        at += 12 + length;
    }
    return kept;
}

Bytes cut(const Bytes& file, size_t size, bool mended = false)
{
    Bytes start(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size & ~size_t{1}));
    if (!mended) return start;
    start = edited(start, 4, asLittleEndian(static_cast<uint32_t>(start.size() - 8)));
    return edited(start, 16, asLittleEndian(static_cast<uint32_t>(start.size() - 20)));
}

}  // namespace

TEST(WebpCodec, RoundTripsStillsAndGivesAnAnimationsFirstFrame)
{
    const PixelBuffer colour = quadrants(64, 48, 3);
    const PixelBuffer grey = quadrants(64, 48, 1);
    const PixelBuffer translucent = quadrants(64, 48, 4, true);
    const PixelBuffer opaque = quadrants(64, 48, 4);
    PixelBuffer second;
    ASSERT_TRUE(second.allocate(64, 48, 4));
    for (int32_t i = 0; i < 64 * 48; ++i) std::copy_n(kSecondFrame, 4, second.mutableView().pixels + i * 4);
    const PixelBuffer canvas = quadrantsOnCanvas();
    const struct {
        const char* what;
        Bytes file;
        const PixelBuffer& shown;
        int32_t channels;
        int tolerance;
        bool lossless;
    } rows[] = {
        {"lossy", encoded(colour.view()), colour, 3, 16, false},
        {"lossless", encoded(colour.view(), true), colour, 3, 0, true},
        {"grey", encoded(grey.view(), true), grey, 3, 0, true},
        {"lossy with alpha", encoded(translucent.view()), translucent, 4, 16, false},
        {"lossless with alpha", encoded(translucent.view(), true), translucent, 4, 0, true},
        {"opaque BGRA", encoded(opaque.view()), opaque, 3, 16, false},
        {"animation", framed(encoded(opaque.view(), true), 0, 0, encoded(second.view()), {64, 48}), opaque, 3, 0, true},
        {"animation whose first frame covers part of the canvas", framedQuadrants(), canvas, 4, 0, true},
    };
    for (const auto& row : rows) {
        const Decoded result = decoded(row.file);
        ASSERT_EQ(result.header, DecodeStatus::Decoded) << row.what;
        ASSERT_EQ(result.status, DecodeStatus::Decoded) << row.what;
        EXPECT_EQ(result.stored, (ImageSize{64, 48})) << row.what;
        ASSERT_EQ(result.pixels.view().channels, row.channels) << row.what;
        expectLike(result.pixels.view(), row.shown.view(), row.tolerance, row.what);
        EXPECT_EQ(result.lossless, row.lossless) << row.what;
    }
}

TEST(WebpCodec, DecodesAtTheSmallestSizeOfItsProportionsStillLargeEnough)
{
    const struct {
        ImageSize stored, smallest, decoded;
    } rows[] = {
        {{160, 120}, {0, 0}, {2, 1}},         {{160, 120}, {80, 60}, {80, 60}},   {{160, 120}, {80, 10}, {80, 60}},
        {{160, 120}, {10, 90}, {120, 90}},    {{160, 120}, {81, 60}, {81, 61}},   {{160, 120}, {160, 1}, {160, 120}},
        {{160, 120}, {800, 600}, {160, 120}}, {{161, 121}, {50, 50}, {67, 50}},
    };
    for (const auto& row : rows) {
        const PixelBuffer picture = quadrants(row.stored.width, row.stored.height, 3);
        const Decoded result = decoded(encoded(picture.view()), row.smallest);
        const std::string what = "from " + std::to_string(row.stored.width) + " for " +
                                 std::to_string(row.smallest.width) + "x" + std::to_string(row.smallest.height);
        ASSERT_EQ(result.status, DecodeStatus::Decoded) << what;
        const PixelView view = result.pixels.view();
        EXPECT_EQ((ImageSize{view.width, view.height}), row.decoded) << what;
        if (view.width >= 32) expectLike(view, picture.view(), 20, what);
    }
    // An animation's first frame shrinks with the canvas, where it stands on it.
    const Decoded half = decoded(framedQuadrants(), {32, 24});
    ASSERT_EQ(half.status, DecodeStatus::Decoded);
    EXPECT_EQ(half.pixels.view().width, 32);
    expectLike(half.pixels.view(), quadrantsOnCanvas().view(), 4, "animation at half its size");
}

TEST(OwnCodecs, CarryTheProfileExifAndXmpWholeAndReadTheOrientation)
{
    ExifContent sideways;
    sideways.orientation = 6;
    const Bytes exifSegment = makeExifSegment(sideways).data;
    const Bytes tiff(exifSegment.begin() + kTiffStart, exifSegment.end());
    const Bytes notTiff(exifSegment.begin(), exifSegment.begin() + kTiffStart + 1);
    const Bytes xmp = {'<', 'x', ':', 'x', 'm', 'p', 'm', 'e', 't', 'a', '/', '>'};
    const PictureMetadata all = {Bytes(3001, 0x5A), tiff, xmp, {}};
    Bytes uprightTiff = tiff;
    ASSERT_TRUE(patchExifForCopy(uprightTiff.data(), uprightTiff.size(), true, {40, 30}));
    const PixelBuffer picture = quadrants(40, 30, 4, true);
    const Bytes lossy = encoded(picture.view(), false, all);
    const struct {
        const char* what;
        Bytes file;
        PictureMetadata metadata;
        int orientation;
        bool png = false;
    } rows[] = {
        {"lossy with alpha", lossy, all, 6},
        {"lossless", encoded(picture.view(), true, all), all, 6},
        {"EXIF chunk starting as a JPEG's segment", encoded(picture.view(), false, {{}, exifSegment, {}, {}}),
         {{}, tiff, {}, {}}, 6},
        {"Exif's start and no TIFF block", encoded(picture.view(), false, {{}, notTiff, {}, {}}),
         {{}, notTiff, {}, {}}, 1},
        {"none", encoded(picture.view()), {}, 1},
        {"PNG", pngOf(picture.view(), all), all, 6, true},
        // Written late, after the image data: kept, but not turning the
        // picture, as browsers do not; so the copy says it is upright.
        {"PNG with Exif and XMP after its image data", afterImageData(pngOf(picture.view(), all), {"eXIf", "iTXt"}),
         {all.colourProfile, uprightTiff, xmp, {}}, 1, true},
        // eXIf holds a TIFF block only.
        {"PNG given Exif's start and no TIFF block", pngOf(picture.view(), {{}, notTiff, xmp, {}}), {{}, {}, xmp, {}},
         1, true},
    };
    for (const auto& row : rows) {
        const Decoded result = row.png ? decoded<PngDecoder>(row.file, {8, 8}) : decoded(row.file, {8, 8});
        ASSERT_EQ(result.status, DecodeStatus::Decoded) << row.what;
        EXPECT_EQ(result.metadata.colourProfile, row.metadata.colourProfile) << row.what;
        EXPECT_EQ(result.metadata.exif, row.metadata.exif) << row.what;
        EXPECT_EQ(result.metadata.xmp, row.metadata.xmp) << row.what;
        EXPECT_EQ(result.orientation, row.orientation) << row.what;
    }
    // VP8X announces the three chunks, and EXIF holds the TIFF block as it is.
    EXPECT_EQ(lossy[20] & (ICCP_FLAG | EXIF_FLAG | XMP_FLAG), ICCP_FLAG | EXIF_FLAG | XMP_FLAG);
    const Bytes exifChunk = {'E', 'X', 'I', 'F'};
    const auto exif = std::search(lossy.begin(), lossy.end(), exifChunk.begin(), exifChunk.end()) - lossy.begin();
    ASSERT_LE(static_cast<size_t>(exif) + 8 + tiff.size(), lossy.size());
    EXPECT_TRUE(std::equal(tiff.begin(), tiff.end(), lossy.begin() + exif + 8));
}

TEST(WebpCodec, LeavesOtherFilesToOthersAndDecodesNothingDamaged)
{
    const PixelBuffer picture = quadrants(64, 48, 3);
    const Bytes lossy = encoded(picture.view());
    const Bytes lossless = encoded(picture.view(), true);
    const Bytes animation = framedQuadrants();
    // A lossless header of 16384 x 1, a side no writer makes.
    const Bytes wide = {'R', 'I', 'F', 'F', 18, 0, 0, 0, 'W', 'E', 'B', 'P', 'V', 'P', '8', 'L',
                        5,   0,   0,   0,   0x2F, 0xFF, 0x3F, 0, 0, 0};
    constexpr DecodeStatus kNotWebp = DecodeStatus::NotForThisDecoder;
    constexpr DecodeStatus kCorrupt = DecodeStatus::Corrupt;
    const RefusedFile rows[] = {
        {"JPEG", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1}, kNotWebp, kNotWebp},
        {"nothing", {}, kNotWebp, kNotWebp},
        {"WAVE", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}, kNotWebp, kNotWebp},
        {"cut in its header", cut(lossy, 16), kCorrupt, kNotWebp},
        {"lossy cut in its pixels", cut(lossy, lossy.size() / 2), kCorrupt, kNotWebp},
        {"lossless cut in its pixels", cut(lossless, lossless.size() / 2), kCorrupt, kNotWebp},
        {"animation cut in its second frame", cut(animation, animation.size() - 8), kCorrupt, kNotWebp},
        {"lossy cut, its sizes mended", cut(lossy, lossy.size() - 16, true), DecodeStatus::Decoded, kCorrupt},
        {"lossless cut, its sizes mended", cut(lossless, lossless.size() / 2, true), DecodeStatus::Decoded, kCorrupt},
        {"lossy frame without its start code", edited(lossy, 23, {0, 0, 0}), kCorrupt, kNotWebp},
        {"lossless without its signature", edited(lossless, 20, {0x2E}), kCorrupt, kNotWebp},
        {"a chunk longer than the file", edited(lossy, 16, asLittleEndian(static_cast<uint32_t>(lossy.size()))),
         kCorrupt, kNotWebp},
        {"16384 wide", wide, DecodeStatus::TooLarge, kNotWebp},
        {"larger than 1 GiB", edited(lossy, 4, asLittleEndian(0x40000000)), DecodeStatus::TooLarge, kNotWebp},
    };
    expectRefused<WebpDecoder>(rows);
}

TEST(WebpCodec, EncodesBottomUpRowsAndRefusesWhatItCannotWrite)
{
    // Bottom-up rows, as in a Windows bitmap: the first row in memory is the last one shown.
    const PixelBuffer picture = quadrants(32, 32, 3);
    PixelView bottomUp = picture.view();
    bottomUp.pixels = bottomUp.row(31);
    bottomUp.stride = -bottomUp.stride;
    const Decoded turned = decoded(encoded(bottomUp, true));
    ASSERT_EQ(turned.status, DecodeStatus::Decoded);
    EXPECT_TRUE(std::equal(kQuadrants[2], kQuadrants[2] + 3, turned.pixels.view().row(0))) << "bottom left on top";

    // An animation's first frame into rows with room to spare; every row is told.
    const Bytes animation = framedQuadrants();
    MemorySource source(animation.data(), animation.size());
    WebpDecoder decoder;
    ASSERT_EQ(decoder.readHeader(source), DecodeStatus::Decoded);
    ASSERT_EQ(decoder.start(kFullSize), DecodeStatus::Decoded);
    constexpr ptrdiff_t kStride = 70 * 4;
    Bytes memory(kStride * 48, 0xCC);
    const MutablePixelView target = {memory.data(), 64, 48, kStride, 4};
    int32_t rowsTold = 0;
    const RowsDecoded told = {[](void* rows, int32_t count) { *static_cast<int32_t*>(rows) = count; }, &rowsTold};
    ASSERT_EQ(decoder.readPixels(target, &told), DecodeStatus::Decoded);
    EXPECT_EQ(rowsTold, 48);
    const PixelView shown = {target.pixels, target.width, target.height, target.stride, target.channels};
    expectLike(shown, quadrantsOnCanvas().view(), 0, "with room to spare");

    const PixelBuffer wide = quadrants(kWebpLargestSide + 1, 1, 3);
    for (const PixelView& refused : {PixelView{}, wide.view()}) {
        Bytes written = {1};
        EXPECT_FALSE(encodeWebp(refused, {}, false, written)) << refused.width;
        EXPECT_TRUE(written.empty()) << refused.width;
    }
}

namespace {

struct SpngDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

struct PngForm {
    uint32_t width;
    uint32_t height;
    uint8_t depth;
    uint8_t colourType;
    bool interlaced;
};

// A PNG of that form written by libspng itself from scanlines as PNG stores
// them (big-endian samples, small ones packed), with a palette and a
// transparent colour or entries and an ICC profile where given: forms the
// program's own encoder never writes.
Bytes pngOf(const PngForm& form, const Bytes& scanlines, const spng_plte* palette = nullptr,
            const spng_trns* transparency = nullptr, const Bytes* profile = nullptr)
{
    const std::unique_ptr<spng_ctx, SpngDeleter> context(spng_ctx_new(SPNG_CTX_ENCODER));
    spng_ctx* png = context.get();
    EXPECT_EQ(spng_set_option(png, SPNG_ENCODE_TO_BUFFER, 1), SPNG_OK);
    spng_ihdr header = {form.width, form.height, form.depth, form.colourType, 0, 0, form.interlaced};
    EXPECT_EQ(spng_set_ihdr(png, &header), SPNG_OK);
    if (palette) {
        EXPECT_EQ(spng_set_plte(png, const_cast<spng_plte*>(palette)), SPNG_OK);
    }
    if (transparency) {
        EXPECT_EQ(spng_set_trns(png, const_cast<spng_trns*>(transparency)), SPNG_OK);
    }
    if (profile) {
        spng_iccp iccp = {"grey", profile->size(), reinterpret_cast<char*>(const_cast<uint8_t*>(profile->data()))};
        EXPECT_EQ(spng_set_iccp(png, &iccp), SPNG_OK);
    }
    EXPECT_EQ(spng_encode_image(png, scanlines.data(), scanlines.size(), SPNG_FMT_RAW, SPNG_ENCODE_FINALIZE),
              SPNG_OK);
    size_t length = 0;
    int error = 0;
    void* bytes = spng_get_png_buffer(png, &length, &error);
    EXPECT_NE(bytes, nullptr);
    const Bytes file(static_cast<uint8_t*>(bytes), static_cast<uint8_t*>(bytes) + length);
    free(bytes);
    return file;
}

Bytes tightly(const PixelView& pixels)
{
    Bytes bytes;
    for (int32_t y = 0; y < pixels.height; ++y)
        bytes.insert(bytes.end(), pixels.row(y), pixels.row(y) + pixels.width * pixels.channels);
    return bytes;
}

// A 13 x 11 gradient of RGB scanlines, odd both ways so that every pass of
// Adam7 interlacing has a part of it.
Bytes gradientScanlines()
{
    Bytes scanlines;
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 13; ++x)
            scanlines.insert(scanlines.end(), {static_cast<uint8_t>(x * 19), static_cast<uint8_t>(y * 23),
                                               static_cast<uint8_t>(x * y)});
    return scanlines;
}

Bytes blueFirst(Bytes rgb)
{
    for (size_t at = 0; at + 2 < rgb.size(); at += 3) std::swap(rgb[at], rgb[at + 2]);
    return rgb;
}

}  // namespace

TEST(PngCodec, DecodesEveryFormToGreyBgrOrBgraOfEightBits)
{
    spng_plte redAndGreen = {};
    redAndGreen.n_entries = 2;
    redAndGreen.entries[0] = {255, 0, 0, 255};
    redAndGreen.entries[1] = {0, 255, 0, 255};
    spng_trns firstEntryClear = {};
    firstEntryClear.n_type3_entries = 1;
    firstEntryClear.type3_alpha[0] = 0;
    spng_trns clearColour = {};
    clearColour.red = 10;
    clearColour.green = 20;
    clearColour.blue = 30;
    spng_trns clearGrey = {};
    clearGrey.gray = 7;
    const Bytes gradient = gradientScanlines();
    // The program's own copies, bottom-up rows too, as in a Windows bitmap.
    const PixelBuffer colour = quadrants(64, 48, 3);
    const PixelBuffer grey = quadrants(64, 48, 1);
    const PixelBuffer translucent = quadrants(64, 48, 4, true);
    PixelView bottomUp = colour.view();
    bottomUp.pixels = bottomUp.row(47);
    bottomUp.stride = -bottomUp.stride;
    const struct {
        const char* what;
        Bytes file;
        int32_t channels;
        Bytes pixels;  // as decoded, row after row
    } rows[] = {
        {"palette, first entry transparent", pngOf({2, 2, 8, 3, false}, {0, 1, 1, 0}, &redAndGreen, &firstEntryClear),
         4, {0, 0, 255, 0, 0, 255, 0, 255, 0, 255, 0, 255, 0, 0, 255, 0}},
        {"palette of 2 bits", pngOf({3, 1, 2, 3, false}, {0x14}, &redAndGreen), 3, {0, 0, 255, 0, 255, 0, 0, 255, 0}},
        {"colour of 16 bits", pngOf({1, 1, 16, 2, false}, {0x12, 0x34, 0xAB, 0xCD, 0x00, 0xFF}), 3, {0x00, 0xAB, 0x12}},
        {"grey of 16 bits", pngOf({2, 1, 16, 0, false}, {0x80, 0x01, 0xFF, 0xFF}), 3, {0x80, 0x80, 0x80, 255, 255, 255}},
        {"grey of 1 bit", pngOf({3, 1, 1, 0, false}, {0xA0}), 1, {255, 0, 255}},
        {"grey with alpha", pngOf({2, 1, 8, 4, false}, {50, 0, 60, 128}), 4, {50, 50, 50, 0, 60, 60, 60, 128}},
        {"colour with a transparent colour", pngOf({2, 1, 8, 2, false}, {10, 20, 30, 10, 20, 31}, nullptr, &clearColour),
         4, {30, 20, 10, 0, 31, 20, 10, 255}},
        {"grey with a transparent grey", pngOf({2, 1, 8, 0, false}, {7, 8}, nullptr, &clearGrey), 4,
         {7, 7, 7, 0, 8, 8, 8, 255}},
        {"interlaced colour", pngOf({13, 11, 8, 2, true}, gradient), 3, blueFirst(gradient)},
        {"own BGR", pngOf(colour.view()), 3, tightly(colour.view())},
        {"own grey", pngOf(grey.view()), 1, tightly(grey.view())},
        {"own BGRA", pngOf(translucent.view()), 4, tightly(translucent.view())},
        {"own bottom-up BGR", pngOf(bottomUp), 3, tightly(bottomUp)},
    };
    for (const auto& row : rows) {
        const Decoded result = decoded<PngDecoder>(row.file, {1, 1});
        ASSERT_EQ(result.status, DecodeStatus::Decoded) << row.what;
        const PixelView view = result.pixels.view();
        EXPECT_EQ(view.channels, row.channels) << row.what;
        EXPECT_EQ(tightly(view), row.pixels) << row.what;
    }
}

TEST(PngCodec, AGreyProfileStaysOnlyWithPixelsThatStayGrey)
{
    Bytes grey(128, 0);
    std::copy_n("GRAY", 4, grey.begin() + 16);
    spng_trns clearGrey = {};
    clearGrey.gray = 7;
    const struct {
        const char* what;
        Bytes file;
        bool keepsProfile;
    } rows[] = {
        {"grey of 8 bits", pngOf({2, 1, 8, 0, false}, {7, 8}, nullptr, nullptr, &grey), true},
        // Decoded as colour, whose copy a grey profile would misdescribe.
        {"grey of 16 bits", pngOf({2, 1, 16, 0, false}, {0x80, 0x01, 0xFF, 0xFF}, nullptr, nullptr, &grey), false},
        {"grey with alpha", pngOf({2, 1, 8, 4, false}, {50, 0, 60, 128}, nullptr, nullptr, &grey), false},
        {"grey with a transparent grey", pngOf({2, 1, 8, 0, false}, {7, 8}, nullptr, &clearGrey, &grey), false},
    };
    for (const auto& row : rows) {
        MemorySource source(row.file.data(), row.file.size());
        PngDecoder decoder;
        ASSERT_EQ(decoder.readHeader(source), DecodeStatus::Decoded) << row.what;
        ASSERT_EQ(decoder.start({1, 1}), DecodeStatus::Decoded) << row.what;
        EXPECT_EQ(decoder.metadata().colourProfile, grey) << row.what;
        const int32_t channels = copyChannels(PictureKind::Png, decoder.channels());
        const PictureMetadata copy = metadataForCopy(decoder.metadata(), false, {2, 1}, channels);
        EXPECT_EQ(!copy.colourProfile.empty(), row.keepsProfile) << row.what;
    }
}

TEST(PngCodec, TellsTheRowsAsTheyComeAndDecodesNothingDamaged)
{
    const Bytes file = pngOf(quadrants(64, 48, 3).view());
    const Bytes interlaced = pngOf({13, 11, 8, 2, true}, gradientScanlines());
    for (const Bytes* picture : {&file, &interlaced}) {
        MemorySource source(picture->data(), picture->size());
        PngDecoder decoder;
        ASSERT_EQ(decoder.readHeader(source), DecodeStatus::Decoded);
        ASSERT_EQ(decoder.start({1, 1}), DecodeStatus::Decoded);
        const ImageSize size = decoder.decodedSize();
        // Rows with room to spare, which stays as it was.
        const ptrdiff_t stride = (size.width + 5) * 3;
        Bytes memory(static_cast<size_t>(stride * size.height), 0xCC);
        const MutablePixelView target = {memory.data(), size.width, size.height, stride, 3};
        std::vector<int32_t> told;
        const RowsDecoded telling = {
            [](void* list, int32_t rows) { static_cast<std::vector<int32_t>*>(list)->push_back(rows); }, &told};
        ASSERT_EQ(decoder.readPixels(target, &telling), DecodeStatus::Decoded);
        ASSERT_FALSE(told.empty());
        EXPECT_EQ(told.back(), size.height);
        EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
        // An interlaced file's rows are whole only at the end.
        EXPECT_EQ(told.size() > 1, picture == &file);
        EXPECT_EQ(memory[static_cast<size_t>(stride) - 1], 0xCC);
    }

    Bytes damaged = file;
    damaged[damaged.size() / 2] ^= 0x10;
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0};
    gif.resize(64);
    constexpr DecodeStatus kCorrupt = DecodeStatus::Corrupt;
    const RefusedFile rows[] = {
        {"GIF", gif, DecodeStatus::NotForThisDecoder, DecodeStatus::NotForThisDecoder},
        {"cut in its header", Bytes(file.begin(), file.begin() + 20), kCorrupt, DecodeStatus::NotForThisDecoder},
        {"cut in its pixels", Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(file.size() / 2)),
         DecodeStatus::Decoded, kCorrupt},
        {"a byte of its pixels changed", damaged, DecodeStatus::Decoded, kCorrupt},
    };
    expectRefused<PngDecoder>(rows);
    Bytes written = {1};
    EXPECT_FALSE(encodePng(PixelView{}, {}, written));
    EXPECT_TRUE(written.empty());
}

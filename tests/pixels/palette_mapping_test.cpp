#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "pixels/palette_mapping.h"

namespace {

using Pixels = std::vector<uint32_t>;

// Every index is inside the palette, transparent pixels take the one
// transparent entry, and every other entry is opaque.
void expectWellFormed(const IndexedPixels& mapped, const Pixels& pixels)
{
    ASSERT_GE(mapped.palette.size(), 1u);
    ASSERT_LE(mapped.palette.size(), 256u);
    ASSERT_EQ(mapped.indices.size(), pixels.size());
    for (size_t i = 0; i < mapped.palette.size(); ++i)
        EXPECT_EQ(mapped.palette[i] >> 24, static_cast<int>(i) == mapped.transparentIndex ? 0u : 255u) << i;
    for (size_t i = 0; i < pixels.size(); ++i) {
        ASSERT_LT(mapped.indices[i], mapped.palette.size()) << i;
        const bool transparent = (pixels[i] >> 24) < 128;
        EXPECT_EQ(mapped.indices[i] == mapped.transparentIndex, transparent) << i;
    }
}

int largestChannelError(uint32_t a, uint32_t b)
{
    int largest = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int difference = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
        largest = std::max(largest, std::abs(difference));
    }
    return largest;
}

Pixels distinctColours(size_t count)
{
    Pixels colours;
    for (uint32_t i = 0; i < count; ++i) colours.push_back(0xFF000000u | (i * 97 % 256) << 16 | i << 8 | (255 - i));
    return colours;
}

}  // namespace

TEST(PaletteMapping, SourcePaletteColoursMapToThemselves)
{
    const struct {
        const char* name;
        Pixels palette;
    } rows[] = {
        {"four colours", {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00}},
        // Neighbours that share a 5-5-5 cell still keep their own entries.
        {"near greys", {0xFF000000, 0xFF010101, 0xFF020202, 0xFF070707, 0xFFFFFFFF}},
        {"one colour", {0xFF336699}},
        {"full palette", distinctColours(256)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Pixels pixels;
        for (size_t repeat = 0; repeat < 3; ++repeat)
            for (size_t i = row.palette.size(); i-- > 0;) pixels.push_back(row.palette[i]);
        const IndexedPixels mapped = mapToPalette(pixels, row.palette);
        expectWellFormed(mapped, pixels);
        EXPECT_EQ(mapped.palette, row.palette);
        EXPECT_EQ(mapped.transparentIndex, -1);
        for (size_t i = 0; i < pixels.size(); ++i) EXPECT_EQ(mapped.palette[mapped.indices[i]], pixels[i]) << i;
    }
}

TEST(PaletteMapping, SourcePaletteTakesBlendedPixelsToTheirNearestColour)
{
    const Pixels palette = {0xFF000000, 0xFFFFFFFF, 0xFFFF0000};
    const struct {
        uint32_t pixel;
        uint8_t index;
    } rows[] = {{0xFF101010, 0}, {0xFFE0E0E0, 1}, {0xFFF01020, 2}, {0xFF7F0000, 0}, {0xFFC00000, 2}};
    for (const auto& row : rows) {
        const IndexedPixels mapped = mapToPalette({row.pixel}, palette);
        EXPECT_EQ(mapped.palette, palette);
        ASSERT_EQ(mapped.indices.size(), 1u);
        EXPECT_EQ(mapped.indices[0], row.index) << std::hex << row.pixel;
    }
}

TEST(PaletteMapping, FewColoursAreAllKeptExactly)
{
    for (size_t count : {1u, 2u, 17u, 255u, 256u}) {
        SCOPED_TRACE(count);
        const Pixels colours = distinctColours(count);
        Pixels pixels;
        for (size_t i = 0; i < 1000; ++i) pixels.push_back(colours[i * 7 % count]);
        const IndexedPixels mapped = mapToPalette(pixels, {});
        expectWellFormed(mapped, pixels);
        EXPECT_EQ(mapped.palette.size(), std::min<size_t>(count, 1000));
        for (size_t i = 0; i < pixels.size(); ++i) ASSERT_EQ(mapped.palette[mapped.indices[i]], pixels[i]) << i;
    }
}

TEST(PaletteMapping, ManyColoursAreShownByAtMost256WithSmallError)
{
    std::mt19937 random(7);
    Pixels gradient, noise, photoLike;
    for (uint32_t y = 0; y < 128; ++y) {
        for (uint32_t x = 0; x < 128; ++x) {
            gradient.push_back(0xFF000000u | (x * 2) << 16 | (y * 2) << 8 | (x + y));
            noise.push_back(0xFF000000u | (random() & 0xFFFFFF));
            // A sky over a darker ground, with a little grain.
            const uint32_t grain = random() % 8;
            photoLike.push_back(y < 64 ? 0xFF000000u | (200 + grain) << 16 | (100 + y + grain) << 8 | (40 + x / 4)
                                       : 0xFF000000u | (30 + x / 2) << 16 | (60 + grain) << 8 | (20 + grain));
        }
    }
    const struct {
        const char* name;
        const Pixels& pixels;
        int largestError;
        double meanError;
    } rows[] = {
        {"gradient", gradient, 16, 7.0},
        {"photo-like", photoLike, 8, 3.0},
        // Uniform noise has no structure to find: only a bound is checked.
        {"noise", noise, 48, 24.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const IndexedPixels mapped = mapToPalette(row.pixels, {});
        expectWellFormed(mapped, row.pixels);
        EXPECT_LE(mapped.palette.size(), 256u);
        EXPECT_GT(mapped.palette.size(), 200u);
        int largest = 0;
        double total = 0;
        for (size_t i = 0; i < row.pixels.size(); ++i) {
            const int error = largestChannelError(mapped.palette[mapped.indices[i]], row.pixels[i]);
            largest = std::max(largest, error);
            total += error;
        }
        EXPECT_LE(largest, row.largestError);
        EXPECT_LE(total / row.pixels.size(), row.meanError);
    }
}

TEST(PaletteMapping, PixelsBelowHalfAlphaShareOneTransparentEntry)
{
    const Pixels pixels = {0xFFFF0000, 0x7FFF0000, 0x00000000, 0x80FF0000, 0x0012FF34, 0xFF00FF00};
    const IndexedPixels mapped = mapToPalette(pixels, {});
    expectWellFormed(mapped, pixels);
    ASSERT_GE(mapped.transparentIndex, 0);
    EXPECT_EQ(mapped.palette.size(), 3u);
    EXPECT_EQ(mapped.indices[0], mapped.indices[3]) << "alpha 128 counts as opaque";
    EXPECT_EQ(mapped.palette[mapped.indices[5]], 0xFF00FF00u);

    const Pixels opaque = {0xFFFF0000, 0x80FF0000};
    EXPECT_EQ(mapToPalette(opaque, {}).transparentIndex, -1) << "no entry is reserved without need";

    // 256 colours and transparency: the colours are cut down to make room.
    Pixels full = distinctColours(256);
    full.push_back(0x00000000);
    const IndexedPixels cut = mapToPalette(full, {});
    expectWellFormed(cut, full);
    EXPECT_EQ(cut.palette.size(), 256u);
}

TEST(PaletteMapping, SourcePaletteTransparencyIsKeptOrMadeRoomFor)
{
    const struct {
        const char* name;
        Pixels palette;
        Pixels pixels;
        bool adopted;
        Pixels expectedPalette;
        int transparentIndex;
    } rows[] = {
        {"own transparent entry", {0xFFFF0000, 0x00FFFFFF, 0xFF0000FF}, {0xFFFF0000, 0x00000000, 0xFF0000FF},
         true, {0xFFFF0000, 0x00FFFFFF, 0xFF0000FF}, 1},
        {"partial alpha made plain", {0xFFFF0000, 0x40FFFFFF, 0x20000000, 0xC00000FF}, {0xFFFF0000, 0x10000000},
         true, {0xFFFF0000, 0x00FFFFFF, 0xFF000000, 0xFF0000FF}, 1},
        {"entry added", {0xFFFF0000, 0xFF0000FF}, {0xFFFF0000, 0x00000000}, true,
         {0xFFFF0000, 0xFF0000FF, 0x00000000}, 2},
        {"transparent entry kept unused", {0xFFFF0000, 0x00000000}, {0xFFFF0000}, true,
         {0xFFFF0000, 0x00000000}, 1},
        {"no room: made from the pixels", distinctColours(256), {0xFF123456, 0x00000000}, false,
         {0xFF123456, 0x00000000}, 1},
        {"no opaque entry: made from the pixels", {0x00000000}, {0xFF123456}, false, {0xFF123456}, -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const IndexedPixels mapped = mapToPalette(row.pixels, row.palette);
        expectWellFormed(mapped, row.pixels);
        EXPECT_EQ(mapped.palette, row.expectedPalette);
        EXPECT_EQ(mapped.transparentIndex, row.transparentIndex);
    }
}

TEST(PaletteMapping, EmptyAndSinglePixelPictures)
{
    const struct {
        const char* name;
        Pixels pixels;
        Pixels sourcePalette;
        Pixels expectedPalette;
    } rows[] = {
        {"no pixels", {}, {}, {0xFF000000}},
        {"no pixels, source palette", {}, {0xFF00FF00, 0xFFFF0000}, {0xFF00FF00, 0xFFFF0000}},
        {"one pixel", {0xFF336699}, {}, {0xFF336699}},
        {"one transparent pixel", {0x00336699}, {}, {0x00000000}},
        {"one pixel, source palette", {0xFF336699}, {0xFF000000}, {0xFF000000}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const IndexedPixels mapped = mapToPalette(row.pixels, row.sourcePalette);
        expectWellFormed(mapped, row.pixels);
        EXPECT_EQ(mapped.palette, row.expectedPalette);
        for (uint8_t index : mapped.indices) EXPECT_EQ(index, 0);
    }
}

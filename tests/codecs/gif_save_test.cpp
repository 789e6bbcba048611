#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/win32_handles.h"
#include "tests/support/gdiplus_headers.h"
#include "tests/support/gdiplus_encoders.h"
#include "tests/support/test_pictures.h"
#include "imaging/picture.h"
#include "text/utf8_string.h"

namespace {

using Colours = std::vector<Gdiplus::ARGB>;

const Colours kPrimaries = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
// Colours no fixed halftone palette holds, so only a kept palette shows them exactly.
const Colours kEarthTones = {0xFFF08020, 0xFF108878, 0xFF783058, 0xFFD8C8A0};

// 256 distinct colours: scaled, their blends give far more than a GIF holds.
Colours fullPalette()
{
    Colours colours;
    for (Gdiplus::ARGB i = 0; i < 256; ++i)
        colours.push_back(0xFF000000u | (i * 37 % 256) << 16 | (i * 101 % 256) << 8 | (i * 59 % 256));
    return colours;
}

// Each test gets a new folder under the temporary folder, removed with its files.
class GifSave : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        const DWORD length = GetTempPathW(MAX_PATH, temp);
        ASSERT_GT(length, 0u);
        ASSERT_LT(length, static_cast<DWORD>(MAX_PATH));
        for (int attempt = 0; attempt < 100 && folder_.empty(); ++attempt) {
            const std::wstring name = std::wstring(temp) + L"pellavo_gif_" + std::to_wstring(GetCurrentProcessId()) +
                                      L"_" + std::to_wstring(attempt);
            if (CreateDirectoryW(name.c_str(), nullptr)) folder_ = name;
        }
        ASSERT_FALSE(folder_.empty());
    }

    void TearDown() override
    {
        if (folder_.empty()) return;
        WIN32_FIND_DATAW found;
        FindHandle search(FindFirstFileW((folder_ + L"\\*").c_str(), &found));
        if (search) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW(path(found.cFileName).c_str());
            } while (FindNextFileW(search.get(), &found));
        }
        search.reset();
        EXPECT_TRUE(RemoveDirectoryW(folder_.c_str()));
    }

    std::wstring path(const wchar_t* name) const { return folder_ + L"\\" + name; }

    std::wstring folder_;
};

Utf8String utf8(const std::wstring& text)
{
    return Utf8String::fromWide(text.c_str(), static_cast<int32_t>(text.size()));
}

bool saveAs(Gdiplus::Image& picture, const std::wstring& path, const WCHAR* mimeType)
{
    CLSID encoder;
    return findEncoder(mimeType, &encoder) && picture.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
}

// A picture in blocks of one colour each, columns blocks wide, filled row by row.
struct Blocks {
    Colours colours;
    INT columns;
    INT rows() const { return static_cast<INT>(colours.size()) / columns; }
};

void blockCentre(const Blocks& blocks, size_t block, INT width, INT height, INT& x, INT& y)
{
    const INT column = static_cast<INT>(block) % blocks.columns;
    const INT row = static_cast<INT>(block) / blocks.columns;
    x = (2 * column + 1) * width / (2 * blocks.columns);
    y = (2 * row + 1) * height / (2 * blocks.rows());
}

std::unique_ptr<Gdiplus::Bitmap> fullColourPicture(const Blocks& blocks, INT width, INT height)
{
    std::unique_ptr<Gdiplus::Bitmap> bitmap(new Gdiplus::Bitmap(width, height, PixelFormat32bppARGB));
    Gdiplus::Graphics graphics(bitmap.get());
    for (size_t block = 0; block < blocks.colours.size(); ++block) {
        Gdiplus::SolidBrush brush{Gdiplus::Color(blocks.colours[block])};
        const INT column = static_cast<INT>(block) % blocks.columns;
        const INT row = static_cast<INT>(block) / blocks.columns;
        const INT blockWidth = width / blocks.columns, blockHeight = height / blocks.rows();
        graphics.FillRectangle(&brush, column * blockWidth, row * blockHeight, blockWidth, blockHeight);
    }
    return bitmap;
}

// The same blocks as the palette entries of an 8-bit indexed bitmap.
std::unique_ptr<Gdiplus::Bitmap> palettePicture(const Blocks& blocks, INT width, INT height)
{
    std::unique_ptr<Gdiplus::Bitmap> bitmap(new Gdiplus::Bitmap(width, height, PixelFormat8bppIndexed));
    std::vector<UINT> palette{0, static_cast<UINT>(blocks.colours.size())};
    palette.insert(palette.end(), blocks.colours.begin(), blocks.colours.end());
    if (bitmap->SetPalette(reinterpret_cast<Gdiplus::ColorPalette*>(palette.data())) != Gdiplus::Ok) return nullptr;
    const Gdiplus::Rect whole(0, 0, width, height);
    Gdiplus::BitmapData data;
    if (bitmap->LockBits(&whole, Gdiplus::ImageLockModeWrite, PixelFormat8bppIndexed, &data) != Gdiplus::Ok)
        return nullptr;
    for (INT y = 0; y < height; ++y) {
        auto* row = static_cast<BYTE*>(data.Scan0) + y * data.Stride;
        for (INT x = 0; x < width; ++x)
            row[x] = static_cast<BYTE>(y * blocks.rows() / height * blocks.columns + x * blocks.columns / width);
    }
    if (bitmap->UnlockBits(&data) != Gdiplus::Ok) return nullptr;
    return bitmap;
}

LONGLONG fileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes)) return -1;
    return static_cast<LONGLONG>(attributes.nFileSizeHigh) << 32 | attributes.nFileSizeLow;
}

int largestChannelError(Gdiplus::ARGB a, Gdiplus::ARGB b)
{
    int largest = 0;
    for (int shift = 0; shift <= 24; shift += 8) {
        const int difference = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
        largest = std::max(largest, std::abs(difference));
    }
    return largest;
}

// Loads, scales (unless width is 0) and saves through Picture, then checks
// the GIF written: a real palette picture of the expected size whose block
// centres show the colours within tolerance.
void checkGifCopy(const std::wstring& source, const std::wstring& copy, INT width, INT height, const Blocks& blocks,
                  int tolerance)
{
    Picture image;
    ASSERT_TRUE(image.load(utf8(source)));
    if (width > 0) {
        ASSERT_TRUE(image.scale(width, height));
    }
    ASSERT_TRUE(savePicture(image, utf8(copy), PictureKind::Gif));

    // Wine's encoder writes 24 bytes of header and no pixels for a bitmap that is not indexed.
    EXPECT_GT(fileSize(copy), 100);
    Gdiplus::Bitmap written(copy.c_str());
    ASSERT_EQ(written.GetLastStatus(), Gdiplus::Ok);
    const ImageSize expected = image.size();
    ASSERT_EQ(static_cast<int32_t>(written.GetWidth()), expected.width);
    ASSERT_EQ(static_cast<int32_t>(written.GetHeight()), expected.height);
    EXPECT_TRUE(Gdiplus::IsIndexedPixelFormat(written.GetPixelFormat()));
    size_t wrongBlocks = 0;
    testing::Message firstWrong;
    for (size_t block = 0; block < blocks.colours.size(); ++block) {
        INT x = 0, y = 0;
        blockCentre(blocks, block, expected.width, expected.height, x, y);
        Gdiplus::Color colour;
        ASSERT_EQ(written.GetPixel(x, y, &colour), Gdiplus::Ok);
        if (largestChannelError(colour.GetValue(), blocks.colours[block]) <= tolerance) continue;
        if (wrongBlocks++ == 0)
            firstWrong << "block " << block << " shows " << std::hex << colour.GetValue() << ", not "
                       << blocks.colours[block];
    }
    EXPECT_EQ(wrongBlocks, 0u) << firstWrong;
}

}  // namespace

TEST_F(GifSave, FullColourPicturesGiveGifCopiesThatShowThem)
{
    const Blocks quadrants{kPrimaries, 2};
    std::unique_ptr<Gdiplus::Bitmap> picture = fullColourPicture(quadrants, 200, 100);
    ASSERT_TRUE(saveAs(*picture, path(L"quadrants.png"), L"image/png"));
    ASSERT_TRUE(saveAs(*picture, path(L"quadrants.bmp"), L"image/bmp"));

    const struct {
        const wchar_t* source;
        const wchar_t* copy;
        INT width, height;  // 0 by 0: saved unscaled
    } cases[] = {
        {L"quadrants.png", L"smaller.gif", 100, 50},
        {L"quadrants.png", L"larger.gif", 300, 150},
        {L"quadrants.bmp", L"from_bmp.gif", 64, 32},
        {L"quadrants.png", L"unscaled.gif", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source << " to " << c.copy);
        checkGifCopy(path(c.source), path(c.copy), c.width, c.height, quadrants, 40);
    }
}

TEST_F(GifSave, PaletteSourcesKeepTheirColoursExactly)
{
    const struct {
        const wchar_t* source;
        Blocks blocks;
        INT sourceWidth, sourceHeight;
        const wchar_t* copy;
        INT width, height;  // 0 by 0: saved unscaled
    } cases[] = {
        {L"chart.gif", {kEarthTones, 2}, 60, 40, L"chart_larger.gif", 120, 80},
        {L"chart.gif", {kEarthTones, 2}, 60, 40, L"chart_smaller.gif", 30, 20},
        {L"chart.gif", {kEarthTones, 2}, 60, 40, L"chart_unscaled.gif", 0, 0},
        {L"tiles.gif", {fullPalette(), 16}, 128, 128, L"tiles_larger.gif", 192, 192},
        {L"tiles.gif", {fullPalette(), 16}, 128, 128, L"tiles_smaller.gif", 96, 96},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.copy);
        std::unique_ptr<Gdiplus::Bitmap> picture = palettePicture(c.blocks, c.sourceWidth, c.sourceHeight);
        ASSERT_TRUE(picture);
        ASSERT_TRUE(saveAs(*picture, path(c.source), L"image/gif"));
        checkGifCopy(path(c.source), path(c.copy), c.width, c.height, c.blocks, 0);
    }
}

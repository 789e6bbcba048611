#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "codecs/byte_source.h"
#include "codecs/picture_codecs.h"

#include "tests/support/file_signature.h"
#include "tests/support/file_system.h"
#include "tests/e2e/picture_expectations.h"
#include "tests/support/picture_reader.h"
#include "tests/e2e/pellavo_runner.h"
#include "tests/e2e/resize_workspace.h"
#include "tests/support/test_pictures.h"

namespace {

struct OutputCase {
    const wchar_t* source;
    int width;
    int height;
    PictureFormat format;
    // The size and any option words, as a verb's command carries them.
    const wchar_t* size;
    const wchar_t* copy;
    int copyWidth;
    int copyHeight;
    // Unknown: the source's own.
    Encoding copyEncoding = Encoding::Unknown;
    bool keepsDate = false;
};

// The fitted size keeps the proportions exactly and rounds to the nearest
// pixel; small pictures are enlarged; a side that rounds to 0 is 1.
constexpr OutputCase kOutputCases[] = {
    {L"photo.jpg", 1920, 1080, PictureFormat::Jpeg, L"800x600", L"photo_800x450.jpg", 800, 450},
    {L"photo.jpg", 4000, 3000, PictureFormat::Jpeg, L"800x800", L"photo_800x600.jpg", 800, 600},
    {L"photo.jpg", 400, 300, PictureFormat::Jpeg, L"800x600", L"photo_800x600.jpg", 800, 600},
    {L"photo.jpeg", 100, 50, PictureFormat::Jpeg, L"800x600", L"photo_800x400.jpeg", 800, 400},
    {L"IMG.JPG", 300, 400, PictureFormat::Jpeg, L"1024x768", L"IMG_576x768.JPG", 576, 768},
    {L"portrait.png", 1080, 1920, PictureFormat::Png, L"800x600", L"portrait_338x600.png", 338, 600},
    {L"small.png", 640, 480, PictureFormat::Png, L"1024x768", L"small_1024x768.png", 1024, 768},
    {L"logo.gif", 300, 200, PictureFormat::Gif, L"800x600", L"logo_800x533.gif", 800, 533},
    {L"scan.bmp", 1000, 1000, PictureFormat::Bmp, L"800x600", L"scan_600x600.bmp", 600, 600},
    {L"two.dots.name.jpg", 200, 100, PictureFormat::Jpeg, L"800x600", L"two.dots.name_800x400.jpg", 800, 400},
    {L"thin.png", 1, 10000, PictureFormat::Png, L"800x600", L"thin_1x600.png", 1, 600},
    {L"wide.png", 10000, 1, PictureFormat::Png, L"800x600", L"wide_800x1.png", 800, 1},
    // Presets with options: another kind of copy, named by it; no enlarging; the picture's date.
    {L"drawing.png", 400, 300, PictureFormat::Png, L"800x600 jpeg quality=70", L"drawing_800x600.jpg", 800, 600,
     Encoding::Jpeg},
    {L"photo.JPG", 1920, 1080, PictureFormat::Jpeg, L"800x600 webp", L"photo_800x450.webp", 800, 450,
     Encoding::WebP},
    {L"logo.gif", 300, 200, PictureFormat::Gif, L"800x600 PNG", L"logo_800x533.png", 800, 533, Encoding::Png},
    {L"scan.tif", 1000, 1000, PictureFormat::Tiff, L"800x600 jpg", L"scan_600x600.jpg", 600, 600, Encoding::Jpeg},
    {L"small.png", 640, 480, PictureFormat::Png, L"1600x1200 never-larger", L"small_640x480.png", 640, 480},
    {L"small.jpg", 640, 480, PictureFormat::Jpeg, L"1600x1200 png never-larger keep-date", L"small_640x480.png", 640,
     480, Encoding::Png, true},
    {L"large.jpg", 2000, 1500, PictureFormat::Jpeg, L"1600x1200 never-larger", L"large_1600x1200.jpg", 1600, 1200},
    {L"dated.bmp", 100, 100, PictureFormat::Bmp, L"50x50 keep-date", L"dated_50x50.bmp", 50, 50, Encoding::Unknown,
     true},
};

// 1 January 2001, in FILETIME ticks.
constexpr uint64_t kLongAgo = 126227808000000000ull;

// GDI+ reads no WebP: the program's own decoder tells a WebP copy's size.
ImageSize sizeByOwnDecoder(const std::wstring& path)
{
    const std::optional<Bytes> bytes = readFileBytes(path);
    std::unique_ptr<PictureDecoder> opened;
    if (!bytes || openOwnDecoder(bytes->data(), std::min(bytes->size(), kHeadBytes),
                                 std::make_unique<MemorySource>(bytes->data(), bytes->size()),
                                 opened) != DecodeStatus::Decoded)
        return ImageSize();
    return opened->storedSize();
}

Encoding encodingFor(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Jpeg: return Encoding::Jpeg;
    case PictureFormat::Png: return Encoding::Png;
    case PictureFormat::Gif: return Encoding::Gif;
    case PictureFormat::Bmp: return Encoding::Bmp;
    case PictureFormat::Tiff: return Encoding::Tiff;
    }
    return Encoding::Unknown;
}

// One case; a failed assertion ends only this case.
void checkOutputCase(const OutputCase& c)
{
    ResizeWorkspace workspace;
    ASSERT_TRUE(workspace.ready());
    const std::wstring source = workspace.picture(c.source);
    ASSERT_TRUE(makePicture(source, c.width, c.height, c.format, kFourColours));
    const std::optional<Bytes> sourceBytes = readFileBytes(source);
    // A date long past, which no copy made now has unless it keeps it.
    ASSERT_TRUE(setModificationTime(source, kLongAgo));

    EXPECT_TRUE(runsPellavo(L"-size " + std::wstring(c.size) + L" " + source));

    EXPECT_TRUE(wroteAndOpened(workspace, {c.source}, c.copy));
    EXPECT_TRUE(readFileBytes(source) == sourceBytes) << "the source changed";
    const std::wstring copy = workspace.picture(c.copy);
    const Encoding expected = c.copyEncoding == Encoding::Unknown ? encodingFor(c.format) : c.copyEncoding;
    EXPECT_STREQ(encodingName(encodingOf(copy)), encodingName(expected));
    EXPECT_EQ(modificationTime(copy) == kLongAgo, c.keepsDate);
    if (expected == Encoding::WebP) {
        EXPECT_EQ(sizeByOwnDecoder(copy), (ImageSize{c.copyWidth, c.copyHeight}));
        return;
    }
    const std::optional<DecodedPicture> picture = decodePicture(copy);
    ASSERT_TRUE(picture) << "the copy does not decode: " << fileSummary(copy);
    EXPECT_EQ(picture->width, c.copyWidth);
    EXPECT_EQ(picture->height, c.copyHeight);
    // Scaled whole: each quadrant keeps its colour (too thin a copy has no quadrants).
    if (c.copyWidth >= 8 && c.copyHeight >= 8) {
        EXPECT_TRUE(showsQuadrants(*picture, kFourColours));
    }
}

}  // namespace

TEST_F(ResizeCommand, WritesTheFittedCopyBesideTheSourceUnderItsSizedName)
{
    for (const OutputCase& c : kOutputCases) {
        SCOPED_TRACE(testing::Message() << c.source << " " << c.width << "x" << c.height << " into " << c.size);
        checkOutputCase(c);
    }
}

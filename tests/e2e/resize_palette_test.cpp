#include <gtest/gtest.h>

#include "tests/support/file_signature.h"
#include "tests/e2e/picture_expectations.h"
#include "tests/support/picture_reader.h"
#include "tests/e2e/pellavo_runner.h"
#include "tests/e2e/resize_workspace.h"
#include "tests/support/test_pictures.h"

namespace {

struct PaletteCase {
    const wchar_t* source;
    PictureFormat format;
    int width;
    int height;
    const wchar_t* size;
    const wchar_t* copy;
    int copyWidth;
    int copyHeight;
};

// One case; a failed assertion ends only this case.
void checkPaletteCase(const PaletteCase& c)
{
    ResizeWorkspace workspace;
    ASSERT_TRUE(workspace.ready());
    const std::wstring source = workspace.picture(c.source);
    ASSERT_TRUE(makePalettePicture(source, c.width, c.height, c.format, kFourColours));
    if (c.format == PictureFormat::Png) {
        ASSERT_TRUE(isPalettePng(source)) << "the source is no palette PNG";
    }

    EXPECT_TRUE(runsPellavo(L"-size " + std::wstring(c.size) + L" " + source));

    EXPECT_TRUE(wroteAndOpened(workspace, {c.source}, c.copy));
    const std::optional<DecodedPicture> picture = decodePicture(workspace.picture(c.copy));
    ASSERT_TRUE(picture) << "the copy does not decode: " << fileSummary(workspace.picture(c.copy));
    EXPECT_EQ(picture->width, c.copyWidth);
    EXPECT_EQ(picture->height, c.copyHeight);
    EXPECT_TRUE(showsQuadrants(*picture, kFourColours));
}

}  // namespace

TEST_F(ResizeCommand, PaletteSourcesGiveCopiesThatShowThePicture)
{
    // GDI+ decodes these to an indexed pixel format, on which it cannot draw.
    const PaletteCase cases[] = {
        {L"icon.gif", PictureFormat::Gif, 60, 40, L"120x80", L"icon_120x80.gif", 120, 80},
        {L"chart.gif", PictureFormat::Gif, 400, 300, L"200x200", L"chart_200x150.gif", 200, 150},
        {L"chart.png", PictureFormat::Png, 400, 300, L"800x600", L"chart_800x600.png", 800, 600},
        {L"plan.png", PictureFormat::Png, 300, 400, L"150x150", L"plan_113x150.png", 113, 150},
    };
    for (const PaletteCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source << " into " << c.size);
        checkPaletteCase(c);
    }
}

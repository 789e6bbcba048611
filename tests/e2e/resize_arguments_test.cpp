#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/pellavo_runner.h"
#include "tests/e2e/resize_workspace.h"
#include "tests/support/test_pictures.h"

namespace {

// The arguments with "{path}" standing for the source picture's full path.
std::wstring withPath(std::wstring text, const std::wstring& path)
{
    const std::wstring mark = L"{path}";
    const size_t at = text.find(mark);
    if (at != std::wstring::npos) text.replace(at, mark.size(), path);
    return text;
}

}  // namespace

TEST_F(ResizeCommand, DoesNothingWithoutTheSwitchOrAValidSize)
{
    ResizeWorkspace workspace;
    ASSERT_TRUE(workspace.ready());
    ASSERT_TRUE(makePicture(workspace.picture(L"photo.jpg"), 400, 300, PictureFormat::Jpeg, kFourColours));
    const std::vector<std::wstring> before = workspace.entries();

    const wchar_t* arguments[] = {
        L"{path}",           L"800x600 {path}",        L"-size800x600 {path}",  L"-Size 800x600 {path}",
        L"-SIZE 800x600 {path}", L"/size 800x600 {path}", L"size 800x600 {path}", L"-size 800X600 {path}",
        L"-size 0x600 {path}",   L"-size 800x0 {path}",   L"-size x600 {path}",   L"-size 800x {path}",
        L"-size -800x600 {path}", L"-size abc800x600 {path}", L"-size 800 {path}", L"-size  800x600 {path}",
        L"-size 800x600",
    };
    for (const wchar_t* argument : arguments) {
        SCOPED_TRACE(testing::Message() << argument);
        EXPECT_TRUE(runsPellavo(withPath(argument, workspace.picture(L"photo.jpg"))));
        EXPECT_TRUE(wroteNothing(workspace, before));
    }
}

TEST_F(ResizeCommand, ReadsTheSizeTextLenientlyAndFindsTheSwitchAnywhere)
{
    // Signs and trailing text after each number are accepted; whatever stands
    // before the switch is ignored.
    const wchar_t* arguments[] = {
        L"-size 800x600px {path}", L"-size +800x+600 {path}",         L"-size 800x600x3 {path}",
        L"-size 0800x600 {path}",  L"text before -size 800x600 {path}",
    };
    for (const wchar_t* argument : arguments) {
        SCOPED_TRACE(testing::Message() << argument);
        ResizeWorkspace workspace;
        ASSERT_TRUE(workspace.ready());
        const std::wstring source = workspace.picture(L"photo.jpg");
        ASSERT_TRUE(makePicture(source, 400, 300, PictureFormat::Jpeg, kFourColours));

        EXPECT_TRUE(runsPellavo(withPath(argument, source)));

        EXPECT_TRUE(wroteAndOpened(workspace, {L"photo.jpg"}, L"photo_800x600.jpg"));
    }
}

TEST_F(ResizeCommand, WorksFromAProgramPathWithABlankAsTheShellStartsIt)
{
    // A verb's command names the program without quotes, so a blank in its
    // folder ends the program's name early for the start-up code.
    ResizeWorkspace workspace;
    ASSERT_TRUE(workspace.ready());
    const std::wstring source = workspace.picture(L"photo.jpg");
    ASSERT_TRUE(makePicture(source, 400, 300, PictureFormat::Jpeg, kFourColours));

    EXPECT_TRUE(runsPellavoWithCommandLine(L"C:\\Program Files\\Pellavo\\pellavo.exe -size 800x600 " + source));

    EXPECT_TRUE(wroteAndOpened(workspace, {L"photo.jpg"}, L"photo_800x600.jpg"));
}

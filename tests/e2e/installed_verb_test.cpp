#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "tests/e2e/install_fixture.h"
#include "tests/e2e/open_command_override.h"
#include "tests/e2e/resize_workspace.h"
#include "tests/e2e/test_programs.h"
#include "tests/e2e/pellavo_runner.h"
#include "tests/support/registry_reading.h"
#include "tests/support/test_pictures.h"

namespace {

struct VerbRunCase {
    const wchar_t* type;
    const wchar_t* source;
    PictureFormat format;
    int width;
    int height;
    const wchar_t* size;
    const wchar_t* copy;
};

// The command line that the shell starts for a verb: its command with the
// picture's path, as it is, in place of %1.
std::wstring commandLineFor(std::wstring command, const std::wstring& picture)
{
    const size_t at = command.find(L"%1");
    if (at != std::wstring::npos) command.replace(at, 2, picture);
    return command;
}

}  // namespace

TEST_F(InstallCommand, ARegisteredVerbWritesAndOpensTheCopy)
{
    const OpenCommandOverride openCommand(recorderPath());
    ASSERT_TRUE(openCommand.applied()) << "could not point the shell's open command at open_recorder.exe";
    ASSERT_TRUE(runs(L"Install"));

    const VerbRunCase cases[] = {
        {L"jpegfile", L"holiday photo.jpg", PictureFormat::Jpeg, 1920, 1080, L"800x600", L"holiday photo_800x449.jpg"},
        {L"giffile", L"drawing.gif", PictureFormat::Gif, 400, 300, L"1024x768", L"drawing_1024x768.gif"},
        {L"pngfile", L"scan.png", PictureFormat::Png, 600, 800, L"1024x768", L"scan_576x768.png"},
    };
    for (const VerbRunCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << " " << c.size);
        ResizeWorkspace workspace(L"My Pictures");
        ASSERT_TRUE(workspace.ready());
        const std::wstring source = workspace.picture(c.source);
        ASSERT_TRUE(makePicture(source, c.width, c.height, c.format, kFourColours));
        const std::wstring verb = std::wstring(c.type) + L"\\shell\\Resize " + c.size + L"...\\command";
        const std::optional<std::wstring> command = defaultValueOf(HKEY_CLASSES_ROOT, verb);
        ASSERT_TRUE(command) << "no verb " << verb;

        EXPECT_TRUE(runsProgram(copy_, commandLineFor(*command, source)));

        EXPECT_TRUE(wroteAndOpened(workspace, {c.source}, c.copy));
    }
}

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "tests/e2e/dialog_session.h"
#include "tests/e2e/install_fixture.h"
#include "tests/e2e/open_command_override.h"
#include "tests/e2e/pellavo_runner.h"
#include "tests/e2e/resize_workspace.h"
#include "tests/e2e/test_programs.h"
#include "tests/support/registry_reading.h"
#include "tests/support/test_pictures.h"
#include "ui/resource.h"

namespace {

struct VerbRunCase {
    const wchar_t* extension;
    const wchar_t* source;
    PictureFormat format;
    int width;
    int height;
    const wchar_t* size;
    const wchar_t* copy;
};

// The command line that Explorer starts for a verb: its command with the
// picture's path, as it is, in place of %1. Wine's shell does not look under
// SystemFileAssociations, so the test does what Explorer does.
std::wstring commandLineFor(std::wstring command, const std::wstring& picture)
{
    const size_t at = command.find(L"%1");
    if (at != std::wstring::npos) command.replace(at, 2, picture);
    return command;
}

}  // namespace

TEST_F(InstallCommand, EveryExtensionsVerbWritesAndOpensTheCopyAfterInstallAndAfterALanguageSwitch)
{
    const OpenCommandOverride openCommand(recorderPath());
    ASSERT_TRUE(openCommand.applied()) << "could not point the shell's open command at open_recorder.exe";
    const std::wstring russian = verbNameFormatIn(shipped(L"rus_translate.txt"));
    ASSERT_FALSE(russian.empty());

    const VerbRunCase cases[] = {
        {L".jpg", L"holiday photo.jpg", PictureFormat::Jpeg, 1920, 1080, L"800x600", L"holiday photo_800x450.jpg"},
        {L".jpeg", L"camera.jpeg", PictureFormat::Jpeg, 1600, 1200, L"1024x768", L"camera_1024x768.jpeg"},
        {L".jpe", L"old.jpe", PictureFormat::Jpeg, 300, 400, L"800x600", L"old_450x600.jpe"},
        {L".jfif", L"web.jfif", PictureFormat::Jpeg, 640, 480, L"800x600", L"web_800x600.jfif"},
        {L".png", L"scan.png", PictureFormat::Png, 600, 800, L"1024x768", L"scan_576x768.png"},
        {L".gif", L"drawing.gif", PictureFormat::Gif, 400, 300, L"1024x768", L"drawing_1024x768.gif"},
        // Kinds whose verbs come from a Windows codec's list.
        {L".bmp", L"screen.bmp", PictureFormat::Bmp, 1280, 1024, L"800x600", L"screen_750x600.bmp"},
        {L".tif", L"page.tif", PictureFormat::Tiff, 620, 877, L"1024x768", L"page_543x768.tif"},
    };
    struct Stage {
        const char* name;
        std::wstring nameFormat;
    };
    const Stage stages[] = {{"after Install", kEnglishVerbName}, {"after choosing Russian in the dialog", russian}};
    ASSERT_TRUE(runs(L"Install"));
    for (const Stage& stage : stages) {
        if (&stage != &stages[0]) {
            DialogSession dialog(copy_);
            ASSERT_NE(dialog.window(), nullptr) << "the dialog did not show";
            ASSERT_TRUE(dialog.command(IDM_RUSSIAN));
        }
        ASSERT_EQ(verbsNaming(copy_), installed(stage.nameFormat)) << stage.name;
        for (const VerbRunCase& c : cases) {
            SCOPED_TRACE(testing::Message() << stage.name << ", " << c.extension << " " << c.size);
            ResizeWorkspace workspace(L"My Pictures");
            ASSERT_TRUE(workspace.ready());
            const std::wstring source = workspace.picture(c.source);
            ASSERT_TRUE(makePicture(source, c.width, c.height, c.format, kFourColours));
            std::wstring verb = stage.nameFormat;
            verb.replace(verb.find(L"%s"), 2, c.size);
            const std::wstring key = std::wstring(L"SystemFileAssociations\\") + c.extension + L"\\shell\\" + verb;
            const std::optional<std::wstring> command = defaultValueOf(HKEY_CLASSES_ROOT, key + L"\\command");
            ASSERT_TRUE(command) << "no verb " << key;

            EXPECT_TRUE(runsProgram(copy_, commandLineFor(*command, source)));

            EXPECT_TRUE(wroteAndOpened(workspace, {c.source}, c.copy));
        }
    }
}

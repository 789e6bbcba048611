#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/install_fixture.h"
#include "tests/e2e/pellavo_runner.h"
#include "tests/support/registry_default_value.h"

namespace {

VerbCommands joined(VerbCommands left, const VerbCommands& right)
{
    left.insert(right.begin(), right.end());
    return left;
}

}  // namespace

TEST_F(InstallCommand, LeavesOtherProgramsVerbsAsTheyWere)
{
    // An editor's verb, and another program's resize verb under the same
    // file name in another folder.
    const ScopedDefaultValue editor(HKEY_CLASSES_ROOT, L"jpegfile\\shell\\Edit with Other Editor\\command",
                                    L"\"C:\\Program Files\\Other Editor\\editor.exe\" \"%1\"");
    const ScopedDefaultValue resizer(HKEY_CLASSES_ROOT, L"jpegfile\\shell\\Resize 800x600 elsewhere\\command",
                                     L"\"C:\\Other\\pellavo.exe\" -size 800x600 %1");
    ASSERT_TRUE(editor.applied() && resizer.applied());
    const VerbCommands theirs = newVerbs();
    ASSERT_EQ(theirs.size(), 2u);

    EXPECT_TRUE(runs(L"Install"));
    EXPECT_EQ(newVerbs(), joined(theirs, installed(kEnglishVerbName)));

    EXPECT_TRUE(runs(L"Uninstall"));
    EXPECT_EQ(newVerbs(), theirs);
}

TEST_F(InstallCommand, KeepsTheVerbsOfAnotherCopyWhenOneUninstalls)
{
    // Inside the first copy's folder and under the same file name, so that
    // only the whole path tells the two apart. Other sizes, since verbs of
    // the same name share one key.
    const std::wstring second = copies_.add(L"Program Files x\\Pellavo App\\old version", "640x480\r\n320x240\r\n");
    ASSERT_FALSE(second.empty());
    const VerbCommands firstVerbs = installed(kEnglishVerbName);
    const VerbCommands secondVerbs = expectedVerbs(kEnglishVerbName, second, {L"640x480", L"320x240"});

    struct Step {
        const std::wstring& copy;
        const wchar_t* command;
        VerbCommands expected;
    };
    const Step steps[] = {
        {copy_, L"Install", firstVerbs},
        {second, L"Install", joined(firstVerbs, secondVerbs)},
        {copy_, L"Uninstall", secondVerbs},
        {copy_, L"Install", joined(firstVerbs, secondVerbs)},
        {second, L"Uninstall", firstVerbs},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << (&step.copy == &copy_ ? "first" : "second") << " copy " << step.command);
        EXPECT_TRUE(runsProgram(step.copy, quotedPath(step.copy) + L" " + step.command));
        EXPECT_EQ(newVerbs(), step.expected);
    }
}

TEST_F(InstallCommand, RemovesWhatEarlierVersionsWroteUnderTheFileClassesAndKeepsOtherVerbs)
{
    // Other programs' verbs, in the old place and in the new one.
    const ScopedDefaultValue viewer(HKEY_CLASSES_ROOT, L"jpegfile\\shell\\Print with Viewer\\command",
                                    L"\"C:\\Viewer\\viewer.exe\" /p \"%1\"");
    const ScopedDefaultValue editor(HKEY_CLASSES_ROOT,
                                    L"SystemFileAssociations\\.png\\shell\\Edit with Other Editor\\command",
                                    L"\"C:\\Program Files\\Other Editor\\editor.exe\" \"%1\"");
    ASSERT_TRUE(viewer.applied() && editor.applied());
    const VerbCommands theirs = newVerbs();
    ASSERT_EQ(theirs.size(), 2u);

    for (const wchar_t* command : {L"Install", L"Uninstall"}) {
        SCOPED_TRACE(testing::Message() << command);
        // What an earlier version wrote for this copy, under each file class.
        std::vector<ScopedDefaultValue> old;
        for (const wchar_t* type : kOldPictureTypes) {
            old.emplace_back(HKEY_CLASSES_ROOT, std::wstring(type) + L"\\shell\\Resize 800x600...\\command",
                             quotedPath(copy_) + L" -size 800x600 %1");
            ASSERT_TRUE(old.back().applied());
        }

        EXPECT_TRUE(runs(command));

        const bool installing = std::wstring(command) == L"Install";
        EXPECT_EQ(newVerbs(), installing ? joined(theirs, installed(kEnglishVerbName)) : theirs);
    }
}

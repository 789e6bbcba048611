#include <gtest/gtest.h>

#include <windows.h>

#include <string>

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

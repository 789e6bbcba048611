#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "tests/e2e/install_fixture.h"
#include "tests/e2e/pellavo_runner.h"
#include "tests/support/file_system.h"
#include "tests/support/registry_default_value.h"
#include "tests/support/registry_reading.h"
#include "tests/support/utf8_conversion.h"

TEST_F(InstallCommand, RegistersOneQuotedVerbWithTheProgramsIconPerExtensionAndSize)
{
    ASSERT_NE(copy_.find(L' '), std::wstring::npos) << "the copy's path must hold blanks";
    // For exactly the extensions of Wine's decoders and the program's own:
    // no verb stands under any other extension. A second Install rewrites
    // the same verbs and adds none.
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(testing::Message() << "Install run " << run);
        EXPECT_TRUE(runs(L"Install"));
        EXPECT_EQ(newVerbs(), installed(kEnglishVerbName));
        for (const auto& verb : installed(kEnglishVerbName))
            EXPECT_EQ(textValueOf(HKEY_CLASSES_ROOT, verb.first, L"Icon"), copy_ + L",0") << toUtf8(verb.first);
    }
}

TEST_F(InstallCommand, InstallingAgainRenamesTheVerbsIntoTheCurrentLanguage)
{
    // The names come from the shipped files, whatever their wording.
    const std::wstring russian = verbNameFormatIn(shipped(L"rus_translate.txt"));
    const std::wstring english = verbNameFormatIn(shipped(L"en_translate.txt"));
    ASSERT_FALSE(russian.empty()) << "no verb name in the shipped rus_translate.txt";
    ASSERT_NE(russian, english);
    EXPECT_TRUE(runs(L"Install"));
    ASSERT_EQ(newVerbs(), installed(kEnglishVerbName));

    struct Step {
        const wchar_t* translation;
        std::wstring nameFormat;
    };
    const Step steps[] = {
        {L"rus_translate.txt", russian},
        {L"en_translate.txt", english},
        {L"rus_translate.txt", russian},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "current_translate.txt from " << step.translation);
        ASSERT_TRUE(useTranslation(step.translation));
        EXPECT_TRUE(runs(L"Install"));
        // Exactly these: no verb of the language before is left.
        EXPECT_EQ(newVerbs(), installed(step.nameFormat));
    }
}

TEST_F(InstallCommand, UninstallRemovesEveryVerbThatRunsThisCopy)
{
    EXPECT_TRUE(runs(L"Install"));
    ASSERT_EQ(newVerbs(), installed(kEnglishVerbName));
    // What an older size list, a hand-made entry or a run under another
    // spelling of the path left: the path in any letter case, anywhere in
    // the command, names this copy.
    const ScopedDefaultValue olderSize(HKEY_CLASSES_ROOT, L"jpegfile\\shell\\Resize 640x480...\\command",
                                       quotedPath(copy_) + L" -size 640x480 %1");
    const ScopedDefaultValue capitals(HKEY_CLASSES_ROOT, L"pngfile\\shell\\Pellavo old verb\\command",
                                      quotedPath(upperCase(copy_)) + L" -size 320x240 %1");
    const ScopedDefaultValue inside(HKEY_CLASSES_ROOT, L"giffile\\shell\\Resize by hand\\command",
                                    L"cmd /c " + copy_ + L" -size 100x100 %1");
    // Written while a codec, since removed, listed the extension.
    const ScopedDefaultValue goneCodec(HKEY_CLASSES_ROOT,
                                       L"SystemFileAssociations\\.oldformat\\shell\\Resize 800x600...\\command",
                                       quotedPath(copy_) + L" -size 800x600 %1");
    ASSERT_TRUE(olderSize.applied() && capitals.applied() && inside.applied() && goneCodec.applied());

    EXPECT_TRUE(runs(L"Uninstall"));

    EXPECT_EQ(newVerbs(), VerbCommands{});
    EXPECT_EQ(verbsNaming(copy_), VerbCommands{});
}

TEST_F(InstallCommand, TakesTheCommandWordsOnlyWholeAndInTheirOwnLetterCase)
{
    struct CommandWordCase {
        const wchar_t* afterProgramName;
        bool installedBefore;
        bool installedAfter;
    };
    // Blanks and tabs between the program's name and its arguments are
    // skipped; anything else, a trailing blank too, makes another text,
    // which goes to the resize command and does nothing there.
    const CommandWordCase cases[] = {
        {L" install", false, false},     {L" INSTALL", false, false},     {L" Install ", false, false},
        {L" Install now", false, false}, {L"    Install", false, true},   {L" \t Install", false, true},
        {L" uninstall", true, true},     {L" UNINSTALL", true, true},     {L" Uninstall ", true, true},
        {L" Uninstall now", true, true}, {L"    Uninstall", true, false}, {L" \t Uninstall", true, false},
    };
    const VerbCommands none;
    for (const CommandWordCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"<copy>\"" << c.afterProgramName);
        ASSERT_TRUE(runs(c.installedBefore ? L"Install" : L"Uninstall"));
        ASSERT_EQ(newVerbs(), c.installedBefore ? installed(kEnglishVerbName) : none);

        EXPECT_TRUE(runsProgram(copy_, quotedPath(copy_) + c.afterProgramName));

        EXPECT_EQ(newVerbs(), c.installedAfter ? installed(kEnglishVerbName) : none);
    }
}

TEST_F(InstallCommand, ReadsSettingsAndATranslationThatAnEditorSavedWithAByteOrderMark)
{
    const std::string mark = "\xEF\xBB\xBF";
    const std::wstring folder = folderOf(copy_);
    ASSERT_TRUE(writeFileText(folder + L"\\settings.txt", mark + kInstalledSettings));
    const std::optional<std::string> russian = readFileText(shipped(L"rus_translate.txt"));
    ASSERT_TRUE(russian);
    // Without its heading, so that the verb name format is the first line, which the mark begins.
    const std::string verbLineFirst = russian->substr(russian->find("\r\n") + 2);
    ASSERT_EQ(verbLineFirst.rfind("%sResize", 0), 0u);
    ASSERT_TRUE(writeFileText(folder + L"\\current_translate.txt", mark + verbLineFirst));

    EXPECT_TRUE(runs(L"Install"));

    // The first size and the verb name format, both on the first line, are read;
    // the list is written back without the mark.
    EXPECT_EQ(newVerbs(), installed(verbNameFormatIn(shipped(L"rus_translate.txt"))));
    EXPECT_EQ(readFileText(folder + L"\\settings.txt"), kInstalledSettings);
}

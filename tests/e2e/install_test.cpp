#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "base/win32_handles.h"
#include "tests/e2e/dialog_session.h"
#include "tests/e2e/install_fixture.h"
#include "tests/e2e/pellavo_runner.h"
#include "tests/support/file_system.h"
#include "tests/support/registry_default_value.h"
#include "tests/support/registry_reading.h"
#include "tests/support/utf8_conversion.h"
#include "ui/resource.h"

namespace {

// The class of each installed size, as its id carries the size, for every
// user and for a user alone.
const struct {
    const wchar_t* size;
    const wchar_t* classId;
    const wchar_t* usersClassId;
} kSizeClasses[] = {
    {L"800x600", L"{00000320-0000-0258-9A4E-2C6150117DB3}", L"{00000320-0000-0258-9A4E-2C6150117D3E}"},
    {L"1024x768", L"{00000400-0000-0300-9A4E-2C6150117DB3}", L"{00000400-0000-0300-9A4E-2C6150117D3E}"},
};
const DWORD kViewFlags[] = {RRF_SUBKEY_WOW6464KEY, RRF_SUBKEY_WOW6432KEY};

std::wstring classKeyOf(const std::wstring& classId)
{
    return L"Software\\Classes\\CLSID\\" + classId;
}

bool classKeyExists(HKEY root, const std::wstring& classId, REGSAM view)
{
    RegKey key;
    return RegOpenKeyExW(root, classKeyOf(classId).c_str(), 0, KEY_READ | view, key.receive()) == ERROR_SUCCESS;
}

// Everything Install writes for the copy, read back from one scope's
// classes (root HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER): each verb with its
// command, icon, selection model and class, and each class in both views.
void expectWholeRegistration(HKEY root, const std::wstring& copy, const std::wstring& nameFormat = kEnglishVerbName)
{
    EXPECT_EQ(verbsNaming(copy, root), expectedVerbs(nameFormat, copy, kInstalledSizes));
    for (const auto& sized : kSizeClasses) {
        SCOPED_TRACE(testing::Message() << toUtf8(sized.size));
        const std::wstring classId = root == HKEY_LOCAL_MACHINE ? sized.classId : sized.usersClassId;
        for (const auto& verb : expectedVerbs(nameFormat, copy, {sized.size})) {
            const std::wstring key = L"Software\\Classes\\" + verb.first;
            EXPECT_EQ(textValueOf(root, key, L"Icon"), copy + L",0") << toUtf8(key);
            EXPECT_EQ(textValueOf(root, key, L"MultiSelectModel"), L"Player") << toUtf8(key);
            EXPECT_EQ(textValueOf(root, key + L"\\DropTarget", L"Clsid"), classId) << toUtf8(key);
        }
        for (const DWORD view : kViewFlags) {
            EXPECT_EQ(textValueOf(root, classKeyOf(classId), nullptr, view), L"Pellavo picture resizer");
            EXPECT_EQ(textValueOf(root, classKeyOf(classId) + L"\\LocalServer32", nullptr, view),
                      quotedPath(copy) + L" -serve " + sized.size);
        }
    }
}

void expectNoRegistration(HKEY root, const std::wstring& copy)
{
    EXPECT_EQ(verbsNaming(copy, root), VerbCommands{});
    for (const auto& sized : kSizeClasses) {
        for (const wchar_t* classId : {sized.classId, sized.usersClassId}) {
            for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY})
                EXPECT_FALSE(classKeyExists(root, classId, view)) << toUtf8(classId);
        }
    }
}

}  // namespace

TEST_F(InstallCommand, WritesOnlyTheClassesOfTheScopeWhereTheProgramLives)
{
    const struct {
        const char* where;
        std::wstring folder;
        HKEY own;
        HKEY other;
    } cases[] = {
        {"the user's programs", userProgramsFolder(), HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE},
        {"Program Files", programFilesFolder(), HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        const std::wstring copy = copies_.addAt(c.folder, kInstalledSettings);
        ASSERT_FALSE(copy.empty()) << "could not copy pellavo.exe to " << toUtf8(c.folder);

        EXPECT_TRUE(runsProgram(copy, quotedPath(copy) + L" Install"));
        expectWholeRegistration(c.own, copy);
        expectNoRegistration(c.other, copy);
        {
            // Choosing a language in the dialog writes the verbs again, in the same place.
            DialogSession dialog(copy);
            ASSERT_NE(dialog.window(), nullptr) << "the dialog did not show";
            ASSERT_TRUE(dialog.command(IDM_RUSSIAN));
        }
        expectWholeRegistration(c.own, copy, verbNameFormatIn(folderOf(copy) + L"\\local\\rus_translate.txt"));
        expectNoRegistration(c.other, copy);

        EXPECT_TRUE(runsProgram(copy, quotedPath(copy) + L" Uninstall"));
        expectNoRegistration(c.own, copy);
        expectNoRegistration(c.other, copy);
    }
}

TEST_F(InstallCommand, APerUserInstallRemovesWhatAnOlderReleaseWroteForAllUsers)
{
    const std::wstring copy = copies_.addAt(userProgramsFolder(), kInstalledSettings);
    ASSERT_FALSE(copy.empty());
    // A verb and its class as a release that knew no scopes wrote them from
    // outside Program Files: in the machine's classes.
    const std::wstring verb = L"Software\\Classes\\SystemFileAssociations\\.jpg\\shell\\Resize 640x480...";
    const std::wstring classId = L"{00000280-0000-01E0-9A4E-2C6150117DB3}";
    const ScopedDefaultValue oldVerb(HKEY_LOCAL_MACHINE, verb + L"\\command", quotedPath(copy) + L" -size 640x480 %1");
    const ScopedDefaultValue oldTarget(HKEY_LOCAL_MACHINE, verb + L"\\DropTarget", L"");
    const ScopedDefaultValue oldClass(HKEY_LOCAL_MACHINE, classKeyOf(classId) + L"\\LocalServer32",
                                      quotedPath(copy) + L" -serve 640x480");
    ASSERT_TRUE(oldVerb.applied() && oldTarget.applied() && oldClass.applied());
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, (verb + L"\\DropTarget").c_str(), L"Clsid", REG_SZ,
                              classId.c_str(), static_cast<DWORD>((classId.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ASSERT_EQ(verbsNaming(copy, HKEY_LOCAL_MACHINE).size(), 1u);

    EXPECT_TRUE(runsProgram(copy, quotedPath(copy) + L" Install"));

    expectNoRegistration(HKEY_LOCAL_MACHINE, copy);
    EXPECT_FALSE(classKeyExists(HKEY_LOCAL_MACHINE, classId, KEY_WOW64_64KEY));
    expectWholeRegistration(HKEY_CURRENT_USER, copy);
}

TEST_F(InstallCommand, TheAboutBoxSaysForWhomTheCopyWorks)
{
    const struct {
        const char* where;
        std::wstring copy;
        const wchar_t* english;
        const wchar_t* russian;
    } cases[] = {
        {"the user's programs", copies_.addAt(userProgramsFolder(), kInstalledSettings), L"for this user",
         L"для этого пользователя"},
        {"Program Files", copies_.addAt(programFilesFolder(), kInstalledSettings), L"for all users",
         L"для всех пользователей"},
        {"a folder in Program Files", copy_, L"for all users", L"для всех пользователей"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        ASSERT_FALSE(c.copy.empty());
        for (const bool russian : {false, true}) {
            const std::wstring current = folderOf(c.copy) + L"\\current_translate.txt";
            if (russian) {
                ASSERT_TRUE(CopyFileW((folderOf(c.copy) + L"\\local\\rus_translate.txt").c_str(), current.c_str(),
                                      FALSE));
            }
            DialogSession dialog(c.copy);
            ASSERT_NE(dialog.window(), nullptr) << "the dialog did not show";
            const std::optional<MessageBoxTexts> about = dialog.commandShowingBox(IDM_ABOUT, IDC_SCOPE_TEXT);
            ASSERT_TRUE(about) << "the About box did not show";
            EXPECT_EQ(about->item, russian ? c.russian : c.english);
        }
    }
}

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
    // What an older size list or a run under another spelling of the path
    // left: a command that starts this copy, by its path in any letter case.
    // A user's own verb that only hands the path to another program is theirs.
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

    const VerbCommands wrapper = {{L"giffile\\shell\\Resize by hand", L"cmd /c " + copy_ + L" -size 100x100 %1"}};
    EXPECT_EQ(newVerbs(), wrapper);
    EXPECT_EQ(verbsNaming(copy_), wrapper);
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

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/run_application.h"
#include "i18n/translation_file.h"
#include "i18n/translation_table.h"
#include "tests/e2e/dialog_session.h"
#include "tests/e2e/fault_checks.h"
#include "tests/e2e/install_fixture.h"
#include "tests/support/file_system.h"
#include "tests/support/utf8_conversion.h"
#include "tests/support/window_reading.h"
#include "ui/resource.h"
#include "ui/save_failure_message.h"

namespace {

// A message box's texts in the language of a translation file (none: the
// English keys), read as the program reads it.
MessageBoxTexts expectedBox(const std::wstring& translationFile, const SaveFailures& failures)
{
    translationTable.clear();
    if (!translationFile.empty()) loadTranslationFile(utf8Of(translationFile));
    MessageBoxTexts texts{wideOf(translate(Utf8String::fromAnsi("Error"))), wideOf(saveFailureMessage(failures)), {}};
    translationTable.clear();
    return texts;
}

struct UnwritableCase {
    const char* name;
    const wchar_t* translation;  // current_translate.txt from local\, or none
    WORD command;
    SaveFailures failures;
};

}  // namespace

// The folder, settings.txt and current_translate.txt cannot be written, as in
// Program Files for a user without administrator rights.
TEST_F(InstallCommand, TheDialogSaysWhatItCouldNotSaveAndKeepsTheListAndTheOldFiles)
{
    const UnwritableCase cases[] = {
        {"Save without a translation", nullptr, IDC_SAVE, {false, true, false}},
        {"Save in Russian", L"rus_translate.txt", IDC_SAVE, {false, true, false}},
        {"English chosen in Russian", L"rus_translate.txt", IDM_ENGLISH, {true, true, false}},
    };
    const std::wstring folder = folderOf(copy_);
    const std::wstring current = folder + L"\\current_translate.txt";
    for (const UnwritableCase& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileW(current.c_str());
        if (c.translation) {
            ASSERT_TRUE(useTranslation(c.translation));
        }
        DialogSession dialog(copy_);
        ASSERT_NE(dialog.window(), nullptr) << "the dialog did not show";
        // An addition not saved yet, which the dialog is to keep.
        DWORD_PTR result = 0;
        SendMessageTimeoutW(GetDlgItem(dialog.window(), IDC_SIZE_EDIT), WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(L"640x480"), SMTO_NORMAL, 10000, &result);
        ASSERT_TRUE(dialog.command(IDC_ADD));
        const std::vector<std::wstring> lines = {L"1024x768", L"640x480", L"800x600"};
        ASSERT_EQ(listBoxLines(dialog.window(), IDC_SIZE_LIST), lines);
        std::vector<std::wstring> unwritable = {folder + L"\\settings.txt"};
        if (c.translation) unwritable.push_back(current);
        unwritable.push_back(folder);
        const ScopedImmutable immutable(unwritable);
        ASSERT_TRUE(immutable.applied()) << "chattr +i did not take";
        const FolderContent before = contentOf(folder);

        const std::optional<MessageBoxTexts> box = dialog.commandShowingBox(c.command);

        ASSERT_TRUE(box) << "no message box";
        const MessageBoxTexts expected = expectedBox(c.translation ? shipped(c.translation) : L"", c.failures);
        EXPECT_EQ(box->caption, expected.caption);
        EXPECT_EQ(box->text, expected.text);
        EXPECT_TRUE(IsWindow(dialog.window())) << "the dialog closed";
        EXPECT_EQ(listBoxLines(dialog.window(), IDC_SIZE_LIST), lines);
        EXPECT_TRUE(holdsAsBefore(folder, before));
        // The verbs could be written, under the names of the language kept.
        const std::wstring nameFormat = c.translation ? verbNameFormatIn(shipped(c.translation)) : kEnglishVerbName;
        EXPECT_EQ(newVerbs(), expectedVerbs(nameFormat, copy_, {L"800x600", L"1024x768", L"640x480"}));
        const ChildRun run = dialog.close();
        EXPECT_TRUE(run.finished && run.exitCode == 0);
    }
}

TEST_F(InstallCommand, InstallSaysByItsExitCodeThatItCouldNotWriteTheSettings)
{
    const std::wstring folder = folderOf(copy_);
    const ScopedImmutable immutable({folder + L"\\settings.txt", folder});
    ASSERT_TRUE(immutable.applied()) << "chattr +i did not take";
    const FolderContent before = contentOf(folder);

    EXPECT_TRUE(runs(L"Install", kWriteFailed));

    EXPECT_TRUE(holdsAsBefore(folder, before));
    EXPECT_EQ(newVerbs(), installed(kEnglishVerbName));
}

// A settings.txt that holds no size is replaced only once a backup keeps it:
// where none can be made, nothing is saved, and the message names the backup
// it was to be, the first free name beside an earlier one.
TEST_F(InstallCommand, TheDialogReplacesNoSettingsWithoutASizeWhoseBackupCannotBeMade)
{
    const std::wstring folder = folderOf(copy_);
    ASSERT_TRUE(writeFileText(folder + L"\\settings.txt", "Sizes: 640 x 480\r\n"));
    ASSERT_TRUE(writeFileText(folder + L"\\settings.txt.bak", "an earlier backup\r\n"));
    DialogSession dialog(copy_);
    ASSERT_NE(dialog.window(), nullptr) << "the dialog did not show";
    const std::optional<MessageBoxTexts> warning = dialog.boxShown();
    ASSERT_TRUE(warning) << "no warning of the settings without a size";
    EXPECT_EQ(warning->text, L"settings.txt holds no size that can be read: it may be saved in an encoding that is "
                             L"not known. The list starts empty; saving keeps the old file as settings.txt.1.bak.");
    const ScopedImmutable immutable({folder});
    ASSERT_TRUE(immutable.applied()) << "chattr +i did not take";
    const FolderContent before = contentOf(folder);

    const std::optional<MessageBoxTexts> box = dialog.commandShowingBox(IDC_SAVE);

    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(box->text, L"settings.txt cannot be kept as settings.txt.1.bak, so it is not replaced. Nothing is saved.");
    EXPECT_TRUE(IsWindow(dialog.window())) << "the dialog closed";
    EXPECT_TRUE(holdsAsBefore(folder, before));
    EXPECT_TRUE(newVerbs().empty());
    const ChildRun run = dialog.close();
    EXPECT_TRUE(run.finished && run.exitCode == 0);
}

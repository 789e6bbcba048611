#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "base/win32_handles.h"
#include "settings/size_list.h"
#include "tests/support/file_system.h"
#include "tests/support/utf8_conversion.h"
#include "tests/support/window_reading.h"
#include "tests/ui/main_dialog_fixture.h"
#include "tests/ui/modal_window.h"
#include "tests/utf16_bytes.h"
#include "ui/maker_addresses.h"
#include "ui/resource.h"

namespace {

using Lines = std::vector<std::wstring>;

const Lines kSavedInTextOrder = {L"1024x768", L"320x240", L"800x600"};
const Lines kSavedInListOrder = {L"800x600", L"1024x768", L"320x240"};
const char kVerbFormat[] = "%sResize %s...\\command";

// A message with the name of a file in place of its "%s".
std::wstring withName(std::wstring message, const wchar_t* name)
{
    const size_t at = message.find(L"%s");
    if (at != std::wstring::npos) message.replace(at, 2, name);
    return message;
}

Lines sizeListTexts()
{
    Lines texts;
    for (const Utf8String& text : sizeList.texts()) texts.push_back(wideOf(text));
    return texts;
}

void expectMainCaptions(HWND dialog, const ExpectedTexts& texts, const char* language)
{
    EXPECT_EQ(windowText(dialog), texts.of("Pellavo")) << language;
    const struct {
        int id;
        const char* key;
    } controls[] = {{IDC_SIZE_LIST_LABEL, "&List of size:"},
                    {IDC_SIZE_EDIT_LABEL, "&Enter size (WxH):"},
                    {IDC_FORMAT_LABEL, "&Format:"},
                    {IDC_QUALITY_LABEL, "&Quality (1-100):"},
                    {IDC_DETAILS_LABEL, "De&tails:"},
                    {IDC_NEVER_LARGER, "&Never larger"},
                    {IDC_KEEP_DATE, "&Keep the picture's date"},
                    {IDC_ADD, "&Add"},
                    {IDC_SAVE, "&Save"},
                    {IDC_CANCEL, "Cancel"},
                    {IDC_DELETE, "&Delete"}};
    for (const auto& control : controls)
        EXPECT_EQ(itemText(dialog, control.id), texts.of(control.key)) << language << ", control " << control.id;
    // The lists' choices speak the language too; the formats' names are names.
    EXPECT_EQ(comboBoxLines(dialog, IDC_FORMAT), (Lines{texts.of("as the picture"), L"JPEG", L"PNG", L"WebP"}))
        << language;
    EXPECT_EQ(comboBoxLines(dialog, IDC_DETAILS),
              (Lines{texts.of("all"), texts.of("no location"), texts.of("colour profile only")}))
        << language;

    HMENU bar = GetMenu(dialog);
    HMENU help = GetSubMenu(bar, 0);
    ASSERT_NE(help, nullptr) << language << ": the Help entry lost its drop-down menu";
    EXPECT_EQ(menuText(bar, 0), texts.of("&Help")) << language;
    EXPECT_EQ(menuText(help, 0), texts.of("&Open help ...")) << language;
    EXPECT_EQ(menuText(help, 1), texts.of("&About ...")) << language;
    // The language names and the web page entry are never translated.
    EXPECT_EQ(menuText(help, 3), L"Русский") << language;
    EXPECT_EQ(menuText(help, 4), L"English") << language;
    EXPECT_EQ(menuText(bar, 1), wideOf(Utf8String::fromAnsi(kMakerWebPageHost))) << language;
}

}  // namespace

TEST_F(MainDialogTest, ShowsTheSavedSizesInTextOrderAndTheKeysWithoutATranslation)
{
    EXPECT_EQ(listBoxLines(dialog_, IDC_SIZE_LIST), kSavedInTextOrder);
    EXPECT_EQ(sizeListTexts(), kSavedInListOrder);
    expectMainCaptions(dialog_, ExpectedTexts(kNoTranslation.shippedFile), kNoTranslation.name);
    EXPECT_FALSE(takeQuitMessage());
}

TEST_F(MainDialogTest, AddPutsANewSizeAtItsPlaceInTextOrderAndWritesNothing)
{
    typeSize(L"640x480");
    const MessageBoxSeen box = closeMessageBoxDuring(dialog_, [this] { command(IDC_ADD); });
    EXPECT_FALSE(box.shown) << "refused with: " << toUtf8(box.text);
    EXPECT_EQ(listBoxLines(dialog_, IDC_SIZE_LIST), (Lines{L"1024x768", L"320x240", L"640x480", L"800x600"}));
    EXPECT_EQ(sizeListTexts(), (Lines{L"800x600", L"1024x768", L"320x240", L"640x480"}));
    EXPECT_EQ(itemText(dialog_, IDC_SIZE_EDIT), L"");
    EXPECT_EQ(settingsText(), std::string(kSavedSettings));
    EXPECT_TRUE(registeredOwnVerbs().empty());
    EXPECT_FALSE(takeQuitMessage());
}

TEST_F(MainDialogTest, AddRefusesInvalidAndKnownSizesInTheCurrentLanguage)
{
    const wchar_t* const refused[] = {L"", L"abc", L"800x", L"x600", L"0x600", L"800X600", L"800x600", L"1024x768"};
    for (const Language& language : {kNoTranslation, kRussian, kEnglish}) {
        choose(language);
        const ExpectedTexts texts(language.shippedFile);
        ASSERT_EQ(texts.file().has_value(), language.shippedFile != nullptr) << language.name;
        for (const wchar_t* text : refused) {
            const std::string label = std::string(language.name) + ", [" + toUtf8(text) + "]";
            typeSize(text);
            const MessageBoxSeen box = closeMessageBoxDuring(dialog_, [this] { command(IDC_ADD); });
            ASSERT_TRUE(box.shown) << label;
            EXPECT_FALSE(box.forced) << label;
            EXPECT_EQ(box.owner, dialog_) << label;
            EXPECT_EQ(box.text, texts.of("Format is invalid")) << label;
            EXPECT_EQ(box.caption, texts.of("Error")) << label;
            EXPECT_EQ(listBoxLines(dialog_, IDC_SIZE_LIST), kSavedInTextOrder) << label;
            EXPECT_EQ(sizeListTexts(), kSavedInListOrder) << label;
            EXPECT_EQ(itemText(dialog_, IDC_SIZE_EDIT), text) << label;
        }
    }
    EXPECT_FALSE(takeQuitMessage());
}

TEST_F(MainDialogTest, DeleteRemovesOnlyTheSelectedSize)
{
    const struct {
        const wchar_t* selected;  // null: no line selected
        Lines lines;
        Lines list;
    } steps[] = {
        {nullptr, kSavedInTextOrder, kSavedInListOrder},
        {L"1024x768", {L"320x240", L"800x600"}, {L"800x600", L"320x240"}},
        {nullptr, {L"320x240", L"800x600"}, {L"800x600", L"320x240"}},
        {L"800x600", {L"320x240"}, {L"320x240"}},
    };
    for (const auto& step : steps) {
        const std::string label = step.selected ? toUtf8(step.selected) : "no selection";
        if (step.selected) {
            const LRESULT index = SendDlgItemMessageW(dialog_, IDC_SIZE_LIST, LB_FINDSTRINGEXACT,
                                                      static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(step.selected));
            ASSERT_GE(index, 0) << label;
            SendDlgItemMessageW(dialog_, IDC_SIZE_LIST, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        } else {
            SendDlgItemMessageW(dialog_, IDC_SIZE_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        }
        command(IDC_DELETE);
        EXPECT_EQ(listBoxLines(dialog_, IDC_SIZE_LIST), step.lines) << label;
        EXPECT_EQ(sizeListTexts(), step.list) << label;
    }
    EXPECT_EQ(settingsText(), std::string(kSavedSettings));
    EXPECT_TRUE(registeredOwnVerbs().empty());
    EXPECT_FALSE(takeQuitMessage());
}

TEST_F(MainDialogTest, SaveWritesTheListInItsOwnOrderRegistersTheVerbsAndQuits)
{
    typeSize(L"640x480");
    command(IDC_ADD);
    SendDlgItemMessageW(dialog_, IDC_SIZE_LIST, LB_SETCURSEL, 0, 0);  // 1024x768, first in text order
    command(IDC_DELETE);

    command(IDC_SAVE);
    EXPECT_EQ(settingsText(), std::string("800x600\r\n320x240\r\n640x480\r\n"));
    const ExpectedTexts english(kNoTranslation.shippedFile);
    EXPECT_EQ(registeredOwnVerbs(), expectedVerbs(english.of(kVerbFormat), {L"800x600", L"320x240", L"640x480"}));
    EXPECT_TRUE(takeQuitMessage());
}

TEST_F(MainDialogTest, CancelEscAndClosingWriteNothingAndQuit)
{
    const struct {
        const char* way;
        UINT message;
        WPARAM wParam;
        const wchar_t* added;
    } ways[] = {
        {"Cancel", WM_COMMAND, IDC_CANCEL, L"640x480"},
        {"close box", WM_CLOSE, 0, L"1600x1200"},
        {"Esc key", WM_KEYDOWN, VK_ESCAPE, L"2x2"},
    };
    for (const auto& way : ways) {
        typeSize(way.added);
        command(IDC_ADD);
        SendDlgItemMessageW(dialog_, IDC_SIZE_LIST, LB_SETCURSEL, 0, 0);
        command(IDC_DELETE);
        ASSERT_FALSE(takeQuitMessage()) << way.way;

        if (way.message == WM_KEYDOWN) {
            // From the list, whose keys the dialog manager alone turns into commands.
            SetFocus(GetDlgItem(dialog_, IDC_SIZE_LIST));
            EXPECT_TRUE(press(way.wParam)) << way.way;
        } else {
            SendMessageW(dialog_, way.message, way.wParam, 0);
            EXPECT_TRUE(takeQuitMessage()) << way.way;
        }
        EXPECT_EQ(settingsText(), std::string(kSavedSettings)) << way.way;
        EXPECT_TRUE(registeredOwnVerbs().empty()) << way.way;
    }
}

TEST_F(MainDialogTest, ChoosingALanguageTranslatesTheDialogAndSavesUnderItsVerbNames)
{
    // Not saved yet: the change of language writes it with the rest.
    typeSize(L"640x480");
    command(IDC_ADD);
    const Lines sizes = {L"800x600", L"1024x768", L"320x240", L"640x480"};
    for (const Language& language : {kRussian, kEnglish, kRussian, kRussian}) {
        choose(language);
        const ExpectedTexts texts(language.shippedFile);
        ASSERT_TRUE(texts.file()) << language.shippedFile << " is not beside the test program";
        EXPECT_EQ(readFileText(besideTestProgram("current_translate.txt")), texts.file()) << language.name;
        expectMainCaptions(dialog_, texts, language.name);
        EXPECT_EQ(settingsText(), std::string("800x600\r\n1024x768\r\n320x240\r\n640x480\r\n")) << language.name;
        EXPECT_EQ(registeredOwnVerbs(), expectedVerbs(texts.of(kVerbFormat), sizes)) << language.name;
        EXPECT_EQ(listBoxLines(dialog_, IDC_SIZE_LIST), (Lines{L"1024x768", L"320x240", L"640x480", L"800x600"}));
    }
    EXPECT_FALSE(takeQuitMessage());
}

TEST_F(MainDialogTest, AnUnreadableListIsSaidAndNeverSavedOverUntilItIsRead)
{
    const char kUnread[] = "The saved sizes cannot be read from settings.txt: another program may hold it, or rights "
                           "are missing. Nothing is saved until it can be read.";
    // Another program holds the file and lets nobody read it.
    FileHandle holder(CreateFileW(besideTestProgram("settings.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    reopen();
    EXPECT_EQ(listBoxLines(dialog_, IDC_SIZE_LIST), Lines{});
    // Said once the dialog runs, over it.
    MessageBoxSeen box = closeMessageBoxDuring(dialog_, [this] { EXPECT_FALSE(pumpMessages()); });
    EXPECT_TRUE(box.shown);
    EXPECT_EQ(box.owner, dialog_);
    EXPECT_EQ(box.text, ExpectedTexts(kNoTranslation.shippedFile).of(kUnread));

    typeSize(L"640x480");
    command(IDC_ADD);
    // Neither a change of language nor Save writes the list or the verbs; each says why, in the language chosen.
    for (const WORD id : {kRussian.command, WORD(IDC_SAVE)}) {
        box = closeMessageBoxDuring(dialog_, [this, id] { command(id); });
        EXPECT_EQ(box.text, ExpectedTexts(kRussian.shippedFile).of(kUnread)) << "command " << id;
        EXPECT_FALSE(takeQuitMessage()) << "command " << id;
        EXPECT_TRUE(registeredOwnVerbs().empty()) << "command " << id;
    }

    // Once the file is let go, Save reads it first and keeps the size added meanwhile.
    holder.reset();
    EXPECT_EQ(settingsText(), std::string(kSavedSettings));
    box = closeMessageBoxDuring(dialog_, [this] { command(IDC_SAVE); });
    EXPECT_FALSE(box.shown) << toUtf8(box.text);
    EXPECT_TRUE(takeQuitMessage());
    EXPECT_EQ(listBoxLines(dialog_, IDC_SIZE_LIST), (Lines{L"1024x768", L"320x240", L"640x480", L"800x600"}));
    EXPECT_EQ(settingsText(), std::string("640x480\r\n800x600\r\n1024x768\r\n320x240\r\n"));
    EXPECT_EQ(registeredOwnVerbs(), expectedVerbs(ExpectedTexts(kRussian.shippedFile).of(kVerbFormat),
                                                  {L"640x480", L"800x600", L"1024x768", L"320x240"}));
}

TEST_F(MainDialogTest, ReadsTheSavedSizesInUtf16AndSavesThemInUtf8)
{
    const std::string saved(kSavedSettings);
    const std::u16string units = u"\xFEFF" + std::u16string(saved.begin(), saved.end());
    for (const bool littleEndian : {true, false}) {
        SCOPED_TRACE(littleEndian ? "UTF-16 LE" : "UTF-16 BE");
        ASSERT_TRUE(writeFileText(besideTestProgram("settings.txt"), utf16Bytes(units, littleEndian)));
        reopen();
        const MessageBoxSeen box = closeMessageBoxDuring(dialog_, [this] { EXPECT_FALSE(pumpMessages()); });
        EXPECT_FALSE(box.shown) << toUtf8(box.text);
        EXPECT_EQ(listBoxLines(dialog_, IDC_SIZE_LIST), kSavedInTextOrder);

        command(IDC_SAVE);
        EXPECT_TRUE(takeQuitMessage());
        EXPECT_EQ(settingsText(), saved);
    }
}

TEST_F(MainDialogTest, AListWithoutASizeIsSaidAndBackedUpUnderAFreeNameBeforeItIsReplaced)
{
    const char kNoSize[] = "settings.txt holds no size that can be read: it may be saved in an encoding that is not "
                           "known. The list starts empty; saving keeps the old file as %s.";
    const char kBackedUp[] = "The old settings.txt is kept beside the program as %s.";
    const std::string earlier = "an earlier backup\r\n";
    const std::string noSize = "Sizes: 800 x 600, 1024 x 768\r\n";
    const std::string noSizeAgain = "Sizes: 320 x 240\r\n";
    // A backup from before and a folder take names of the series, which are passed over.
    const SubstitutedFile earlierBackup(besideTestProgram("settings.txt.bak"), earlier);
    const SubstitutedFile noFirstCopyYet(besideTestProgram("settings.txt.1.bak"), std::nullopt);
    const EnsuredFolder folderInTheWay(besideTestProgram("settings.txt.2.bak"));
    const SubstitutedFile noSecondCopyYet(besideTestProgram("settings.txt.3.bak"), std::nullopt);
    ASSERT_TRUE(earlierBackup.ready() && noFirstCopyYet.ready() && noSecondCopyYet.ready());
    ASSERT_TRUE(writeFileText(besideTestProgram("settings.txt"), noSize));
    reopen();
    EXPECT_EQ(listBoxLines(dialog_, IDC_SIZE_LIST), Lines{});
    MessageBoxSeen box = closeMessageBoxDuring(dialog_, [this] { EXPECT_FALSE(pumpMessages()); });
    EXPECT_EQ(box.owner, dialog_);
    EXPECT_EQ(box.text, withName(ExpectedTexts(kNoTranslation.shippedFile).of(kNoSize), L"settings.txt.1.bak"));
    typeSize(L"640x480");
    command(IDC_ADD);

    // A change of language saves: the old bytes go to the copy first, and the user is told, in the new language.
    box = closeMessageBoxDuring(dialog_, [this] { choose(kRussian); });
    EXPECT_EQ(box.text, withName(ExpectedTexts(kRussian.shippedFile).of(kBackedUp), L"settings.txt.1.bak"));
    EXPECT_EQ(readFileText(besideTestProgram("settings.txt.1.bak")), noSize);
    EXPECT_EQ(settingsText(), std::string("640x480\r\n"));
    EXPECT_EQ(registeredOwnVerbs(), expectedVerbs(ExpectedTexts(kRussian.shippedFile).of(kVerbFormat), {L"640x480"}));

    // The file now holds the list shown: Save replaces it without another copy.
    typeSize(L"320x240");
    command(IDC_ADD);
    box = closeMessageBoxDuring(dialog_, [this] { command(IDC_SAVE); });
    EXPECT_FALSE(box.shown) << toUtf8(box.text);
    EXPECT_TRUE(takeQuitMessage());
    EXPECT_EQ(settingsText(), std::string("640x480\r\n320x240\r\n"));

    // A second list without a size gets a copy of its own; the earlier ones keep their bytes.
    ASSERT_TRUE(writeFileText(besideTestProgram("settings.txt"), noSizeAgain));
    reopen();
    box = closeMessageBoxDuring(dialog_, [this] { EXPECT_FALSE(pumpMessages()); });
    EXPECT_EQ(box.text, withName(ExpectedTexts(kRussian.shippedFile).of(kNoSize), L"settings.txt.3.bak"));
    box = closeMessageBoxDuring(dialog_, [this] { command(IDC_SAVE); });
    EXPECT_EQ(box.text, withName(ExpectedTexts(kRussian.shippedFile).of(kBackedUp), L"settings.txt.3.bak"));
    EXPECT_TRUE(takeQuitMessage());
    EXPECT_EQ(readFileText(besideTestProgram("settings.txt.3.bak")), noSizeAgain);
    EXPECT_EQ(readFileText(besideTestProgram("settings.txt.1.bak")), noSize);
    EXPECT_EQ(readFileText(besideTestProgram("settings.txt.bak")), earlier);
}

TEST_F(MainDialogTest, AHelpFileThatCannotBeOpenedIsReportedByTheShellOverTheDialog)
{
    // Without a translation the help file is called "helpfilename", which is nowhere.
    const MessageBoxSeen box = closeMessageBoxDuring(dialog_, [this] { command(IDM_OPEN_HELP); });
    EXPECT_TRUE(box.shown);
    EXPECT_FALSE(box.forced);
    EXPECT_EQ(box.owner, dialog_);
    EXPECT_FALSE(takeQuitMessage());
}

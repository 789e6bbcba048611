#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/file_system.h"
#include "tests/support/utf8_conversion.h"
#include "tests/support/window_reading.h"
#include "tests/ui/main_dialog_fixture.h"
#include "tests/ui/modal_window.h"
#include "ui/resource.h"

namespace {

using Lines = std::vector<std::wstring>;

void selectLine(HWND dialog, const wchar_t* line)
{
    const LRESULT index = SendDlgItemMessageW(dialog, IDC_SIZE_LIST, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(line));
    SendDlgItemMessageW(dialog, IDC_SIZE_LIST, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::wstring selectedLine(HWND dialog)
{
    const LRESULT index = SendDlgItemMessageW(dialog, IDC_SIZE_LIST, LB_GETCURSEL, 0, 0);
    return index < 0 ? L"" : listBoxLines(dialog, IDC_SIZE_LIST).at(static_cast<size_t>(index));
}

}  // namespace

TEST_F(MainDialogTest, TabGoesFromTheSizeFieldThroughEveryControlAndBack)
{
    EXPECT_EQ(focusedId(), IDC_SIZE_EDIT) << "the size field has the first focus";
    for (const int next : {IDC_FORMAT, IDC_QUALITY, IDC_DETAILS, IDC_NEVER_LARGER, IDC_KEEP_DATE, IDC_ADD,
                           IDC_SIZE_LIST, IDC_DELETE, IDC_SAVE, IDC_CANCEL, IDC_SIZE_EDIT}) {
        EXPECT_FALSE(press(VK_TAB));
        EXPECT_EQ(focusedId(), next);
    }
}

TEST_F(MainDialogTest, EnterInTheSizeFieldAddsAndKeepsTheFieldForTheNextSize)
{
    const struct {
        const wchar_t* typed;
        bool refused;
        Lines lines;
    } steps[] = {
        {L"640x480", false, {L"1024x768", L"320x240", L"640x480", L"800x600"}},
        {L"640x480", true, {L"1024x768", L"320x240", L"640x480", L"800x600"}},
        {L"abc", true, {L"1024x768", L"320x240", L"640x480", L"800x600"}},
        {L"1x1", false, {L"1024x768", L"1x1", L"320x240", L"640x480", L"800x600"}},
    };
    for (const auto& step : steps) {
        const std::string label = toUtf8(step.typed);
        typeSize(step.typed);
        bool quit = true;
        const MessageBoxSeen box = closeMessageBoxDuring(dialog_, [&] { quit = press(VK_RETURN); });
        EXPECT_FALSE(quit) << label;
        EXPECT_EQ(box.shown, step.refused) << label;
        EXPECT_EQ(listBoxLines(dialog_, IDC_SIZE_LIST), step.lines) << label;
        EXPECT_EQ(itemText(dialog_, IDC_SIZE_EDIT), step.refused ? step.typed : L"") << label;
        EXPECT_EQ(focusedId(), IDC_SIZE_EDIT) << label;
    }

    // Elsewhere Enter adds nothing.
    typeSize(L"2x2");
    SetFocus(GetDlgItem(dialog_, IDC_SIZE_LIST));
    const MessageBoxSeen box = closeMessageBoxDuring(dialog_, [this] { EXPECT_FALSE(press(VK_RETURN)); });
    EXPECT_FALSE(box.shown);
    EXPECT_EQ(listBoxLines(dialog_, IDC_SIZE_LIST).size(), 5u);
}

TEST_F(MainDialogTest, DeleteInTheListRemovesTheSelectedSizeAndSelectsTheNext)
{
    SetFocus(GetDlgItem(dialog_, IDC_SIZE_LIST));
    selectLine(dialog_, L"320x240");
    const struct {
        Lines lines;
        const wchar_t* selected;
    } presses[] = {
        {{L"1024x768", L"800x600"}, L"800x600"},
        {{L"1024x768"}, L"1024x768"},
        {{}, L""},
        {{}, L""},
    };
    for (const auto& after : presses) {
        EXPECT_FALSE(press(VK_DELETE));
        EXPECT_EQ(listBoxLines(dialog_, IDC_SIZE_LIST), after.lines);
        EXPECT_EQ(selectedLine(dialog_), after.selected);
    }

}

TEST_F(MainDialogTest, AccessKeysAreDistinctAndReachTheirControlsInEveryLanguage)
{
    for (const Language& language : {kNoTranslation, kRussian, kEnglish}) {
        // Each language starts from the same list: the one before saved.
        ASSERT_TRUE(writeFileText(besideTestProgram("settings.txt"), kSavedSettings));
        reopen();
        choose(language);
        // Sent as the text writes it: Wine's dialog manager folds the case of
        // ASCII letters only, where Windows folds every letter's.
        std::map<wchar_t, std::wstring> taken = {{upperCase(accessKey(menuText(GetMenu(dialog_), 0))), L"Help menu"}};
        std::map<int, wchar_t> keys;
        for (const int id : {IDC_SIZE_EDIT_LABEL, IDC_SIZE_LIST_LABEL, IDC_FORMAT_LABEL, IDC_QUALITY_LABEL,
                             IDC_DETAILS_LABEL, IDC_NEVER_LARGER, IDC_KEEP_DATE, IDC_ADD, IDC_DELETE, IDC_SAVE}) {
            const std::wstring text = itemText(dialog_, id);
            keys[id] = accessKey(text);
            ASSERT_NE(keys[id], 0) << language.name << ": no access key in " << toUtf8(text);
            const auto [other, fresh] = taken.emplace(upperCase(keys[id]), text);
            EXPECT_TRUE(fresh) << language.name << ": " << toUtf8(text) << " has the key of " << toUtf8(other->second);
        }

        const struct {
            int label;
            int control;
        } reached[] = {{IDC_SIZE_LIST_LABEL, IDC_SIZE_LIST}, {IDC_FORMAT_LABEL, IDC_FORMAT},
                       {IDC_QUALITY_LABEL, IDC_QUALITY}, {IDC_DETAILS_LABEL, IDC_DETAILS}};
        for (const auto& pair : reached) {
            EXPECT_FALSE(pressAlt(keys[pair.label]));
            EXPECT_EQ(focusedId(), pair.control) << language.name;
        }
        EXPECT_FALSE(pressAlt(keys[IDC_SIZE_EDIT_LABEL]));
        EXPECT_EQ(focusedId(), IDC_SIZE_EDIT) << language.name;
        typeSize(L"640x480");
        EXPECT_FALSE(pressAlt(keys[IDC_ADD]));
        selectLine(dialog_, L"1024x768");
        EXPECT_FALSE(pressAlt(keys[IDC_DELETE]));
        EXPECT_EQ(listBoxLines(dialog_, IDC_SIZE_LIST), (Lines{L"320x240", L"640x480", L"800x600"})) << language.name;
        EXPECT_TRUE(pressAlt(keys[IDC_SAVE])) << language.name << ": Save did not end the dialog";
        EXPECT_EQ(settingsText(), std::string("800x600\r\n320x240\r\n640x480\r\n")) << language.name;
    }
}

TEST_F(MainDialogTest, TheKeyboardAloneAddsAPresetWithOptionsChangesOneAndSavesTheirVerbs)
{
    // A size with its options: JPEG, quality 85, no location.
    typeSize(L"1024x640");
    EXPECT_FALSE(pressAlt(L'F'));
    EXPECT_FALSE(press(VK_DOWN));
    EXPECT_FALSE(pressAlt(L'Q'));
    for (const wchar_t digit : {L'8', L'5'}) SendMessageW(GetFocus(), WM_CHAR, digit, 0);
    EXPECT_FALSE(pressAlt(L'T'));
    EXPECT_FALSE(press(VK_DOWN));
    EXPECT_FALSE(pressAlt(L'E'));
    EXPECT_FALSE(press(VK_RETURN));
    EXPECT_EQ(listBoxLines(dialog_, IDC_SIZE_LIST),
              (Lines{L"1024x640 - JPEG 85, no location", L"1024x768", L"320x240", L"800x600"}));

    // Choosing a preset shows its options; changing them changes it.
    EXPECT_FALSE(pressAlt(L'L'));
    for (int line = 0; line < 4; ++line) EXPECT_FALSE(press(VK_DOWN));
    EXPECT_EQ(SendDlgItemMessageW(dialog_, IDC_SIZE_LIST, LB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(itemText(dialog_, IDC_QUALITY), L"") << "800x600 shows options of its own";
    EXPECT_FALSE(pressAlt(L'N'));
    EXPECT_FALSE(pressAlt(L'K'));
    EXPECT_EQ(listBoxLines(dialog_, IDC_SIZE_LIST),
              (Lines{L"1024x640 - JPEG 85, no location", L"1024x768", L"320x240",
                     L"800x600 - never larger, picture's date"}));

    EXPECT_TRUE(pressAlt(L'S'));
    EXPECT_EQ(settingsText(), std::string("800x600 never-larger keep-date\r\n1024x768\r\n320x240\r\n"
                                          "1024x640 jpeg quality=85 no-location\r\n"));
    const auto verbs = registeredOwnVerbs();
    const auto has = [&verbs](const std::wstring& name, const std::wstring& tail) {
        for (const auto& [key, command] : verbs) {
            if (key == L"SystemFileAssociations\\.jpg\\shell\\" + name + L"\\command" && command.size() > tail.size() &&
                command.compare(command.size() - tail.size(), tail.size(), tail) == 0)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(has(L"Resize 1024x640 (JPEG 85, no location)...", L" -size 1024x640 jpeg quality=85 no-location %1"));
    EXPECT_TRUE(has(L"Resize 800x600 (never larger, picture's date)...", L" -size 800x600 never-larger keep-date %1"));
    EXPECT_TRUE(has(L"Resize 1024x768...", L" -size 1024x768 %1"));
}

#include "ui/main_dialog.h"

#include <algorithm>

#include "base/app_state.h"
#include "base/module_path.h"
#include "i18n/language_selection.h"
#include "i18n/translation_table.h"
#include "settings/settings_file.h"
#include "settings/size_list.h"
#include "shell/registration_scope.h"
#include "shell/shell_open.h"
#include "text/number_format.h"
#include "ui/about_dialog.h"
#include "ui/captions.h"
#include "ui/maker_addresses.h"
#include "ui/preset_options.h"
#include "ui/size_list_box.h"
#include "ui/resource.h"
#include "ui/save_failure_message.h"

static void setWindowIcons(HWND dialog)
{
    const struct {
        WPARAM kind;
        int metric;
    } icons[] = {{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}};
    for (const auto& icon : icons) {
        const int side = GetSystemMetrics(icon.metric);
        // Shared icons belong to the system's cache, which frees them.
        HANDLE image = LoadImageW(appInstance, MAKEINTRESOURCEW(IDI_PELLAVO), IMAGE_ICON, side, side, LR_SHARED);
        if (image) SendMessageW(dialog, WM_SETICON, icon.kind, reinterpret_cast<LPARAM>(image));
    }
}

// Posted at initialisation with the SettingsLoad as wParam, so that the
// warning shows over the dialog rather than before it.
static constexpr UINT kWarnUnreadSettings = WM_APP + 1;
// Posted likewise when settings.txt holds words that are no options.
static constexpr UINT kWarnOfDroppedWords = WM_APP + 2;

// Window data: whether the list shown is the one settings.txt holds. Until
// it is, saving would replace the user's list by whatever the dialog holds.
// Read leaving words out, the file is kept in a backup before it is replaced.
static constexpr LONG_PTR kSettingsRead = 1;
static constexpr LONG_PTR kSettingsReadLeavingWords = 2;

// The words of settings.txt that the list left out, for the one warning.
static std::vector<Utf8String> droppedSettingsWords;
// The warning names no more of them than this.
static constexpr size_t kWordsNamed = 8;

static void showText(HWND dialog, const Utf8String& text, const char* captionKey = "Error", UINT icon = 0)
{
    MessageBoxW(dialog, text.toWide().units(), translate(Utf8String::fromAnsi(captionKey)).toWide().units(),
                MB_OK | icon);
}

static void showMessage(HWND dialog, const char* key, const char* captionKey = "Error", UINT icon = 0)
{
    showText(dialog, translate(Utf8String::fromAnsi(key)), captionKey, icon);
}

// The backup's name is put in after the translation, so that one entry
// serves every name it takes.
static Utf8String backupMessage(const char* key, const Utf8String& backup)
{
    const Utf8String english = Utf8String::fromAnsi(key);
    return formatTexts(translate(english), english, {backup});
}

static const char kUnreadSettings[] =
    "The saved sizes cannot be read from settings.txt: another program may hold it, or rights are missing. "
    "Nothing is saved until it can be read.";
static const char kSettingsWithoutSize[] =
    "settings.txt holds no size that can be read: it may be saved in an encoding that is not known. "
    "The list starts empty; saving keeps the old file as %s.";
static const char kSettingsBackedUp[] = "The old settings.txt is kept beside the program as %s.";
static const char kWordsLeftOut[] =
    "settings.txt holds words that are no options of a size, which the list leaves out: %s. "
    "Saving keeps the old file as %s.";
static const char kBackupFailed[] = "settings.txt cannot be kept as %s, so it is not replaced. Nothing is saved.";

static void warnOfUnreadSettings(HWND dialog, SettingsLoad load)
{
    if (load == SettingsLoad::HoldsNoSize) showText(dialog, backupMessage(kSettingsWithoutSize, nextSettingsBackup()));
    else showMessage(dialog, kUnreadSettings);
}

static void warnOfDroppedWords(HWND dialog)
{
    Utf8String words;
    for (size_t i = 0; i < droppedSettingsWords.size() && i < kWordsNamed; ++i) {
        if (i > 0) words.append(Utf8String::fromAnsi(", "));
        words.append(droppedSettingsWords[i]);
    }
    if (droppedSettingsWords.size() > kWordsNamed) words.append(Utf8String::fromAnsi(", ..."));
    const Utf8String english = Utf8String::fromAnsi(kWordsLeftOut);
    showText(dialog, formatTexts(translate(english), english, {words, nextSettingsBackup()}), "Pellavo",
             MB_ICONWARNING);
}

static void markSettingsRead(HWND dialog)
{
    SetWindowLongPtrW(dialog, DWLP_USER, kSettingsRead);
}

// Copies settings.txt to a backup beside it, and says under which name, or
// that it could not, in which case it must not be replaced.
static bool keepSettingsBackup(HWND dialog)
{
    Utf8String backup;
    if (!backUpSettings(backup)) {
        showText(dialog, backupMessage(kBackupFailed, backup));
        return false;
    }
    showText(dialog, backupMessage(kSettingsBackedUp, backup), "Pellavo", MB_ICONINFORMATION);
    return true;
}

// Whether settings.txt may be replaced by the list shown. A file that could
// not be read is read again, keeping the sizes added meanwhile; one that
// still holds no size, or words the list left out, is copied to a backup
// beside it first. Says so when it cannot be replaced, and when a copy was
// kept, under which name.
static bool mayReplaceSettings(HWND dialog)
{
    const LONG_PTR state = GetWindowLongPtrW(dialog, DWLP_USER);
    if (state == kSettingsRead) return true;
    if (state == kSettingsReadLeavingWords) {
        if (!keepSettingsBackup(dialog)) return false;
        markSettingsRead(dialog);
        return true;
    }
    const SettingsLoad load = loadSettings(&droppedSettingsWords);
    if (load == SettingsLoad::CannotBeRead) {
        warnOfUnreadSettings(dialog, load);
        return false;
    }
    if ((load == SettingsLoad::HoldsNoSize || !droppedSettingsWords.empty()) && !keepSettingsBackup(dialog))
        return false;
    markSettingsRead(dialog);
    showSizeList(dialog);
    return true;
}

static void onInitDialog(HWND dialog)
{
    const SettingsLoad load = loadSettings(&droppedSettingsWords);
    if (load != SettingsLoad::Read) {
        PostMessageW(dialog, kWarnUnreadSettings, static_cast<WPARAM>(load), 0);
    } else if (!droppedSettingsWords.empty()) {
        SetWindowLongPtrW(dialog, DWLP_USER, kSettingsReadLeavingWords);
        PostMessageW(dialog, kWarnOfDroppedWords, 0, 0);
    } else {
        markSettingsRead(dialog);
    }
    loadCurrentTranslation();
    applyMainCaptions(dialog);
    fillOptionLists(dialog);
    showOptions(dialog, PresetOptions());
    showSizeList(dialog);
    setWindowIcons(dialog);
}

// The size field takes the focus back with its text selected, so that the
// next size, or a corrected one, is simply typed.
static void focusSizeField(HWND dialog)
{
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_SIZE_EDIT)), TRUE);
}

// The options shown go with a size typed alone; typed option words stand
// for themselves.
static void onAdd(HWND dialog)
{
    wchar_t text[MAX_PATH] = {};
    GetDlgItemTextW(dialog, IDC_SIZE_EDIT, text, MAX_PATH);
    Preset preset;
    const bool typed = parseTypedPreset(Utf8String::fromWide(text, 0), preset);
    if (typed && preset.options.isPlain()) preset.options = shownOptions(dialog, 0);
    if (typed && sizeList.add(preset)) {
        showSizeList(dialog);
        SetDlgItemTextW(dialog, IDC_SIZE_EDIT, L"");
    } else {
        showMessage(dialog, "Format is invalid");
    }
    focusSizeField(dialog);
}

// Enter, which the dialog manager reports as IDOK since no button is the
// default: it adds the typed size when the size field has the focus.
static void onEnter(HWND dialog)
{
    if (GetFocus() == GetDlgItem(dialog, IDC_SIZE_EDIT)) onAdd(dialog);
}

// Choosing a preset shows its options.
static void onPresetChosen(HWND dialog)
{
    const int32_t entry = selectedEntry(dialog);
    if (entry >= 0) showOptions(dialog, sizeList.at(entry).options);
}

// Changed options change the preset selected; with none selected they wait
// for the next one added. A change that would make it another entry's twin
// is taken back.
static void onOptionsChanged(HWND dialog)
{
    const int32_t entry = selectedEntry(dialog);
    if (showingOptions() || entry < 0) return;
    const Preset before = sizeList.at(entry);
    Preset changed = before;
    changed.options = shownOptions(dialog, before.options.quality);
    if (changed == before) return;
    if (!sizeList.replaceAt(entry, changed)) {
        showOptions(dialog, before.options);
        return;
    }
    showSizeList(dialog);
    selectEntry(dialog, entry);
}

// A size being typed is a new preset: the options shown are now its own.
static void onSizeTyped(HWND dialog)
{
    if (GetWindowTextLengthW(GetDlgItem(dialog, IDC_SIZE_EDIT)) > 0)
        SendDlgItemMessageW(dialog, IDC_SIZE_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

static void onDelete(HWND dialog)
{
    const LRESULT index = SendDlgItemMessageW(dialog, IDC_SIZE_LIST, LB_GETCURSEL, 0, 0);
    if (index < 0) return;
    sizeList.removeAt(entryOfLine(dialog, index));
    // The other lines' places in the list have moved: the box is filled again.
    showSizeList(dialog);
    const LRESULT remaining = SendDlgItemMessageW(dialog, IDC_SIZE_LIST, LB_GETCOUNT, 0, 0);
    // The line that took its place is selected, so that Delete can be pressed again.
    if (remaining > 0)
        SendDlgItemMessageW(dialog, IDC_SIZE_LIST, LB_SETCURSEL, static_cast<WPARAM>(std::min(index, remaining - 1)), 0);
    onPresetChosen(dialog);
}

// The user's list stays in the dialog, so that nothing typed is lost.
static void reportSaveFailures(HWND dialog, SaveFailures failures)
{
    if (!failures.any()) return;
    failures.forAllUsers = registrationScope() == RegistrationScope::AllUsers;
    MessageBoxW(dialog, saveFailureMessage(failures).toWide().units(),
                translate(Utf8String::fromAnsi("Error")).toWide().units(), MB_OK | MB_ICONWARNING);
}

static SaveFailures failuresOf(const SaveResult& saved)
{
    SaveFailures failures;
    failures.sizeList = !saved.listWritten;
    failures.menuItems = !saved.verbsWritten;
    return failures;
}

// The list box reports its keys (it has LBS_WANTKEYBOARDINPUT); the result
// -2 says the key was handled, -1 leaves it to the list box.
static INT_PTR onListKey(HWND dialog, WORD key)
{
    if (key != VK_DELETE) return -1;
    onDelete(dialog);
    return -2;
}

static void onSave(HWND dialog)
{
    if (!mayReplaceSettings(dialog)) return;
    const SaveFailures failures = failuresOf(saveSettings());
    if (failures.any()) {
        reportSaveFailures(dialog, failures);
        return;
    }
    PostQuitMessage(0);
}

// The help file is named by the current language. A bare name is looked for
// beside the program: the process's current folder can be anywhere. The
// shell says so itself, over the dialog, when it cannot open it.
static void onOpenHelp(HWND dialog)
{
    Utf8String help = translate(Utf8String::fromAnsi("helpfilename"));
    const bool bareName = help.find(Utf8String::fromAnsi("\\"), 0, false) < 0 &&
                          help.find(Utf8String::fromAnsi(":"), 0, false) < 0;
    const Utf8String beside = bareName ? fileBesideExecutable(help) : Utf8String();
    openWithShell(beside.charCount() > 0 ? beside : help, dialog);
}

static void onAbout(HWND dialog)
{
    DialogBoxParamW(appInstance, MAKEINTRESOURCEW(IDD_ABOUT), dialog, aboutDialogProc, 0);
}

static void onChangeLanguage(HWND dialog, const char* code)
{
    const bool selected = selectLanguage(Utf8String::fromAnsi(code));
    loadCurrentTranslation();
    applyMainCaptions(dialog);
    fillOptionLists(dialog);
    showSizeList(dialog);
    // Saving registers the verbs again, under the new language's names.
    SaveFailures failures;
    if (mayReplaceSettings(dialog)) failures = failuresOf(saveSettings());
    failures.language = !selected;
    reportSaveFailures(dialog, failures);
}

// Notifications of the list, the size field and the option controls.
static bool onControlNotice(HWND dialog, WORD id, WORD code)
{
    if (id == IDC_SIZE_LIST) {
        if (code == LBN_SELCHANGE) onPresetChosen(dialog);
        return true;
    }
    if (id == IDC_SIZE_EDIT) {
        if (code == EN_CHANGE) onSizeTyped(dialog);
        return true;
    }
    if (!isOptionControl(id)) return false;
    const bool changed = (id == IDC_FORMAT || id == IDC_DETAILS) ? code == CBN_SELCHANGE
                         : id == IDC_QUALITY                     ? code == EN_CHANGE
                                                                 : code == BN_CLICKED;
    if (changed) onOptionsChanged(dialog);
    return true;
}

static void onCommand(HWND dialog, WORD id, WORD code)
{
    if (onControlNotice(dialog, id, code)) return;
    switch (id) {
    case IDOK: onEnter(dialog); break;
    case IDC_ADD: onAdd(dialog); break;
    case IDC_DELETE: onDelete(dialog); break;
    case IDC_SAVE: onSave(dialog); break;
    // Esc comes as IDCANCEL.
    case IDCANCEL:
    case IDC_CANCEL: PostQuitMessage(0); break;
    case IDM_OPEN_HELP: onOpenHelp(dialog); break;
    case IDM_ABOUT: onAbout(dialog); break;
    case IDM_WEB_PAGE: openWithShell(Utf8String::fromAnsi(kMakerWebPage), dialog); break;
    case IDM_RUSSIAN: onChangeLanguage(dialog, "RUS"); break;
    case IDM_ENGLISH: onChangeLanguage(dialog, "EN"); break;
    }
}

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(dialog);
        // The dialog manager gives the focus to the first tab stop, the size field.
        return TRUE;
    case WM_COMMAND:
        onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_VKEYTOITEM:
        return onListKey(dialog, LOWORD(wParam));
    case kWarnUnreadSettings:
        warnOfUnreadSettings(dialog, static_cast<SettingsLoad>(wParam));
        break;
    case kWarnOfDroppedWords:
        warnOfDroppedWords(dialog);
        break;
    case WM_CLOSE:
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    }
    return 0;
}

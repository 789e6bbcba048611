#include "tests/ui/main_dialog_fixture.h"

#include <algorithm>

#include "app/message_loop.h"
#include "base/app_state.h"
#include "base/module_path.h"
#include "settings/size_list.h"
#include "shell/installed_extensions.h"
#include "shell/verb_registry.h"
#include "tests/support/file_system.h"
#include "tests/support/registry_reading.h"
#include "tests/support/utf8_conversion.h"
#include "ui/main_dialog.h"
#include "ui/resource.h"

namespace {

// Where a save writes the verbs: the extensions of the codecs installed now.
std::vector<std::wstring> pictureTypes()
{
    std::vector<std::wstring> types;
    for (const Utf8String& extension : installedPictureExtensions())
        types.push_back(L"SystemFileAssociations\\" + wideOf(extension));
    return types;
}

std::wstring testProgramPath()
{
    return wideOf(runningExecutablePath());
}

// Fills the format's two "%s": the type's shell key, then the size.
std::wstring verbKey(std::wstring format, const std::wstring& type, const std::wstring& size)
{
    const std::wstring prefix = type + L"\\shell\\";
    const size_t first = format.find(L"%s");
    if (first == std::wstring::npos) return format;
    format.replace(first, 2, prefix);
    const size_t second = format.find(L"%s", first + prefix.size());
    if (second != std::wstring::npos) format.replace(second, 2, size);
    return format;
}

}  // namespace

std::wstring besideTestProgram(const char* name)
{
    return wideOf(fileBesideExecutable(name));
}

ExpectedTexts::ExpectedTexts(const char* shippedFile)
{
    if (!shippedFile) return;
    file_ = readFileText(besideTestProgram(shippedFile));
    if (file_) table_.readText(file_->data(), file_->size());
}

std::wstring ExpectedTexts::of(const char* key) const
{
    const Utf8String keyText = Utf8String::fromUtf8(key, 0);
    if (!file_) return wideOf(keyText);
    const Utf8String* text = table_.find(keyText);
    return text ? wideOf(*text) : L"<no translation of " + wideOf(keyText) + L">";
}

std::vector<std::pair<std::wstring, std::wstring>> registeredOwnVerbs()
{
    const std::wstring program = testProgramPath();
    std::vector<std::pair<std::wstring, std::wstring>> verbs;
    for (const std::wstring& type : pictureTypes()) {
        // The test program runs from outside Program Files: its verbs are the
        // user's, which Wine's HKEY_CLASSES_ROOT does not show.
        const std::wstring shell = type + L"\\shell\\";
        const std::wstring userShell = L"Software\\Classes\\" + shell;
        for (const std::wstring& name : subkeyNames(HKEY_CURRENT_USER, userShell)) {
            const std::wstring key = shell + name + L"\\command";
            const std::optional<std::wstring> command = defaultValueOf(HKEY_CURRENT_USER, userShell + name + L"\\command");
            if (command && command->find(program) != std::wstring::npos) verbs.emplace_back(key, *command);
        }
    }
    std::sort(verbs.begin(), verbs.end());
    return verbs;
}

std::vector<std::pair<std::wstring, std::wstring>> expectedVerbs(const std::wstring& format,
                                                                 const std::vector<std::wstring>& sizes)
{
    std::vector<std::pair<std::wstring, std::wstring>> verbs;
    for (const std::wstring& type : pictureTypes()) {
        for (const std::wstring& size : sizes)
            verbs.emplace_back(verbKey(format, type, size), L"\"" + testProgramPath() + L"\" -size " + size + L" %1");
    }
    std::sort(verbs.begin(), verbs.end());
    return verbs;
}

static void emptyProcessState()
{
    for (const Utf8String& text : sizeList.texts()) sizeList.removeText(text);
    translationTable.clear();
    unregisterVerbs();
}

void MainDialogTest::SetUp()
{
    ASSERT_TRUE(settings_.ready() && current_.ready());
    // The About box is loaded from the running module, here the test program.
    appInstance = GetModuleHandleW(nullptr);
    reopen();
    ASSERT_NE(dialog_, nullptr);
}

void MainDialogTest::reopen()
{
    if (dialog_) DestroyWindow(dialog_);
    emptyProcessState();
    takeQuitMessage();
    // Made and shown as the program does it, so that it has the focus.
    dialog_ = CreateDialogParamW(appInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, mainDialogProc, 0);
    if (dialog_) ShowWindow(dialog_, SW_SHOW);
}

void MainDialogTest::TearDown()
{
    if (dialog_) DestroyWindow(dialog_);
    // Destroying the dialog posts one more quit message.
    takeQuitMessage();
    emptyProcessState();
}

void MainDialogTest::command(WORD id) const
{
    SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void MainDialogTest::choose(const Language& language) const
{
    if (language.command != 0) command(language.command);
}

void MainDialogTest::typeSize(const wchar_t* text) const
{
    SetDlgItemTextW(dialog_, IDC_SIZE_EDIT, text);
}

bool MainDialogTest::pumpMessages() const
{
    bool quit = false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) quit = true;
        else dispatchDialogMessage(dialog_, message);
    }
    return quit;
}

bool MainDialogTest::press(WPARAM key) const
{
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
    return pumpMessages();
}

bool MainDialogTest::pressAlt(wchar_t letter) const
{
    // Bit 29: the Alt key is down.
    PostMessageW(GetFocus(), WM_SYSCHAR, letter, 0x20000001);
    return pumpMessages();
}

int MainDialogTest::focusedId() const
{
    return GetDlgCtrlID(GetFocus());
}

bool MainDialogTest::takeQuitMessage()
{
    MSG message;
    bool posted = false;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) posted = true;
    return posted;
}

std::optional<std::string> MainDialogTest::settingsText() const
{
    return readFileText(besideTestProgram("settings.txt"));
}

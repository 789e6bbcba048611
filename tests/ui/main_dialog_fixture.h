#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "i18n/translation_table.h"
#include "tests/support/file_guards.h"

std::wstring besideTestProgram(const char* name);

// The texts that a language shows: a shipped translation file (the build
// copies "local" beside the test program) read into a table of its own, or,
// without a file, the English keys themselves.
class ExpectedTexts {
public:
    explicit ExpectedTexts(const char* shippedFile);

    // The file's text for the key; a marker that matches no caption when the
    // file lacks the key, so that a gap in a shipped file fails the test.
    std::wstring of(const char* key) const;
    const std::optional<std::string>& file() const { return file_; }

private:
    std::optional<std::string> file_;
    TranslationTable table_;
};

// The interface languages as the menu chooses them; the first is the state
// before any choice, with no current translation file.
struct Language {
    const char* name;
    WORD command;
    const char* shippedFile;
};
inline constexpr Language kNoTranslation{"no translation", 0, nullptr};
inline constexpr Language kRussian{"Russian", 1109, "local\\rus_translate.txt"};
inline constexpr Language kEnglish{"English", 1110, "local\\en_translate.txt"};

// "SystemFileAssociations\.jpg\shell\Resize 800x600...\command" and its command, for every
// verb under the picture types whose command runs the test program.
std::vector<std::pair<std::wstring, std::wstring>> registeredOwnVerbs();

// The verbs that a save registers for these sizes, named by the verb
// format in one language.
std::vector<std::pair<std::wstring, std::wstring>> expectedVerbs(const std::wstring& format,
                                                                 const std::vector<std::wstring>& sizes);

// The main dialog made as the program makes it, over a settings file and a
// current translation of the test's own, beside the test program where the
// dialog looks for them. The files, the verbs, the size list and the table
// are put back afterwards, also when a test fails.
class MainDialogTest : public testing::Test {
protected:
    // Not in text order, so that the list box's order and the file's differ.
    static constexpr char kSavedSettings[] = "800x600\r\n1024x768\r\n320x240\r\n";

    void SetUp() override;
    void TearDown() override;

    // Makes the dialog again, from the files as they are now.
    void reopen();
    void command(WORD id) const;
    void choose(const Language& language) const;
    void typeSize(const wchar_t* text) const;
    // Handles the messages waiting in the queue as the program's loop does;
    // true when the quit message was among them.
    bool pumpMessages() const;
    // A key pressed in the control that has the focus, then pumpMessages.
    bool press(WPARAM key) const;
    // The access key Alt+letter, then pumpMessages.
    bool pressAlt(wchar_t letter) const;
    int focusedId() const;
    // Takes the quit message from the queue; true when one was posted.
    static bool takeQuitMessage();
    std::optional<std::string> settingsText() const;

    HWND dialog_ = nullptr;
    SubstitutedFile settings_{besideTestProgram("settings.txt"), std::string(kSavedSettings)};
    SubstitutedFile current_{besideTestProgram("current_translate.txt"), std::nullopt};
};

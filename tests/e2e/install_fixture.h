#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/pellavo_copies.h"
#include "tests/e2e/shell_verbs.h"

// The copy's settings.txt, and the sizes it names.
inline const std::string kInstalledSettings = "800x600\r\n1024x768\r\n";
inline const std::vector<std::wstring> kInstalledSizes = {L"800x600", L"1024x768"};

// Where a user's own programs go, outside Program Files, and a folder in
// Program Files: a copy there registers for the user, or for all users.
inline std::wstring userProgramsFolder()
{
    return knownFolderPath(FOLDERID_LocalAppData) + L"\\Programs\\Pellavo";
}
inline std::wstring programFilesFolder()
{
    return knownFolderPath(FOLDERID_ProgramFiles) + L"\\Pellavo";
}

// The verb name without a current_translate.txt.
inline const std::wstring kEnglishVerbName = L"Resize %s...";

// Every install case starts from one copy of pellavo.exe in a folder with
// blanks under "Program Files", so registered for all users, with two sizes in its settings and no
// current_translate.txt; whatever verbs the case leaves go with the copies.
class InstallCommand : public testing::Test {
protected:
    void SetUp() override;

    // Runs the copy as "<copy>" <arguments>, which is to end with the exit code.
    testing::AssertionResult runs(const std::wstring& arguments, DWORD exitCode = 0) const;
    // A file of the copy's own "local" folder.
    std::wstring shipped(const wchar_t* name) const;
    // Puts a shipped translation in place of current_translate.txt, as the
    // dialog's language menu does.
    bool useTranslation(const wchar_t* name) const;
    // The verbs of the picture types that differ from those before the case.
    VerbCommands newVerbs() const;
    // The verbs that Install writes for the copy in the given verb name format.
    VerbCommands installed(const std::wstring& nameFormat) const;

    PellavoCopies copies_;
    std::wstring copy_;
    VerbCommands before_;
};

#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/open_command_override.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_folder.h"

// The world of one resize case: a fresh temporary folder holding the
// pictures folder, where the sources and the copies go, and the open log,
// which PELLAVO_OPEN_LOG names for every child started meanwhile.
class ResizeWorkspace {
public:
    explicit ResizeWorkspace(const std::wstring& picturesFolderName = L"pictures");

    bool ready() const { return ready_; }
    const std::wstring& pictures() const { return pictures_; }
    // The full path of a name in the pictures folder.
    std::wstring picture(const std::wstring& name) const { return pictures_ + L"\\" + name; }
    std::vector<std::wstring> entries() const;
    // Makes a second folder beside the pictures folder; its path, or empty.
    std::wstring addFolder(const std::wstring& name) const;
    std::vector<std::wstring> openedFiles() const;

private:
    TempFolder root_;
    std::wstring pictures_;
    std::wstring log_;
    std::unique_ptr<ScopedEnvironmentVariable> logVariable_;
    bool ready_ = false;
};

// Every resize test runs with the shell's "open" pointed at open_recorder.exe.
class ResizeCommand : public testing::Test {
protected:
    void SetUp() override;

    std::unique_ptr<OpenCommandOverride> openCommand_;
};

// The expected folder listing: the given names, sorted as entries() sorts them.
std::vector<std::wstring> sortedNames(std::vector<std::wstring> names);

// The folder holds exactly the names it held before plus the copy, and the
// copy, and nothing else, was opened, once.
testing::AssertionResult wroteAndOpened(const ResizeWorkspace& workspace, const std::vector<std::wstring>& before,
                                        const std::wstring& copy);

// The folder holds exactly the names it held before, and nothing was opened.
testing::AssertionResult wroteNothing(const ResizeWorkspace& workspace, const std::vector<std::wstring>& before);

#include "tests/e2e/resize_workspace.h"

#include <windows.h>

#include <algorithm>

#include "tests/support/file_system.h"
#include "tests/e2e/open_log.h"
#include "tests/e2e/test_programs.h"
#include "tests/support/utf8_conversion.h"

ResizeWorkspace::ResizeWorkspace(const std::wstring& picturesFolderName)
{
    if (root_.path().empty()) return;
    pictures_ = root_.path() + L"\\" + picturesFolderName;
    log_ = root_.path() + L"\\open.log";
    logVariable_ = std::make_unique<ScopedEnvironmentVariable>(kOpenLogVariable, log_);
    ready_ = CreateDirectoryW(pictures_.c_str(), nullptr) != 0;
}

std::vector<std::wstring> ResizeWorkspace::entries() const
{
    return folderEntries(pictures_);
}

std::wstring ResizeWorkspace::addFolder(const std::wstring& name) const
{
    const std::wstring folder = root_.path() + L"\\" + name;
    return CreateDirectoryW(folder.c_str(), nullptr) ? folder : std::wstring();
}

std::vector<std::wstring> ResizeWorkspace::openedFiles() const
{
    return readOpenLog(log_);
}

void ResizeCommand::SetUp()
{
    openCommand_ = std::make_unique<OpenCommandOverride>(recorderPath());
    ASSERT_TRUE(openCommand_->applied()) << "could not point the shell's open command at open_recorder.exe";
}

std::vector<std::wstring> sortedNames(std::vector<std::wstring> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

static std::string listed(const std::vector<std::wstring>& names)
{
    std::string text = "{";
    for (size_t i = 0; i < names.size(); ++i) text += (i ? ", \"" : "\"") + toUtf8(names[i]) + "\"";
    return text + "}";
}

testing::AssertionResult wroteAndOpened(const ResizeWorkspace& workspace, const std::vector<std::wstring>& before,
                                        const std::wstring& copy)
{
    std::vector<std::wstring> expected = before;
    expected.push_back(copy);
    const std::vector<std::wstring> entries = workspace.entries();
    if (entries != sortedNames(expected))
        return testing::AssertionFailure() << "the folder holds " << listed(entries) << ", expected "
                                           << listed(sortedNames(expected));
    const std::vector<std::wstring> opened = workspace.openedFiles();
    if (opened != std::vector<std::wstring>{workspace.picture(copy)})
        return testing::AssertionFailure() << "opened " << listed(opened) << ", expected only \""
                                           << toUtf8(workspace.picture(copy)) << "\"";
    return testing::AssertionSuccess();
}

testing::AssertionResult wroteNothing(const ResizeWorkspace& workspace, const std::vector<std::wstring>& before)
{
    const std::vector<std::wstring> entries = workspace.entries();
    if (entries != sortedNames(before))
        return testing::AssertionFailure() << "the folder holds " << listed(entries) << ", expected "
                                           << listed(sortedNames(before));
    const std::vector<std::wstring> opened = workspace.openedFiles();
    if (!opened.empty()) return testing::AssertionFailure() << "opened " << listed(opened) << ", expected nothing";
    return testing::AssertionSuccess();
}

#include "tests/e2e/fault_checks.h"

#include <tlhelp32.h>

#include <utility>

#include "base/win32_handles.h"
#include "tests/support/utf8_conversion.h"

static void addContent(const std::wstring& folder, const std::wstring& prefix, FolderContent& content)
{
    for (const std::wstring& name : folderEntries(folder)) {
        const std::wstring path = folder + L"\\" + name;
        const std::wstring relative = prefix + name;
        const DWORD attributes = GetFileAttributesW(path.c_str());
        FolderEntry& entry = content[relative];
        entry.isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        if (entry.isFolder) {
            addContent(path, relative + L"\\", content);
        } else {
            entry.bytes = readFileBytes(path).value_or(Bytes());
        }
    }
}

FolderContent contentOf(const std::wstring& folder)
{
    FolderContent content;
    addContent(folder, L"", content);
    return content;
}

testing::AssertionResult holdsAsBefore(const std::wstring& folder, const FolderContent& before,
                                       const std::vector<std::wstring>& added)
{
    FolderContent after = contentOf(folder);
    for (const std::wstring& name : added) {
        if (after.erase(name) == 0) return testing::AssertionFailure() << "no " << toUtf8(name) << " was written";
    }
    for (const auto& [name, entry] : before) {
        const auto found = after.find(name);
        if (found == after.end()) return testing::AssertionFailure() << toUtf8(name) << " is gone";
        if (!(found->second == entry)) return testing::AssertionFailure() << toUtf8(name) << " changed";
        after.erase(found);
    }
    if (!after.empty()) return testing::AssertionFailure() << toUtf8(after.begin()->first) << " appeared";
    return testing::AssertionSuccess();
}

testing::AssertionResult noCrashHandlerRunning()
{
    const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE)
        return testing::AssertionFailure() << "cannot list the processes";
    const wchar_t* const handlers[] = {L"winedbg.exe", L"werfault.exe", L"dwwin.exe", L"drwtsn32.exe"};
    PROCESSENTRY32W process = {};
    process.dwSize = sizeof process;
    for (BOOL more = Process32FirstW(snapshot.get(), &process); more; more = Process32NextW(snapshot.get(), &process)) {
        for (const wchar_t* handler : handlers) {
            if (_wcsicmp(process.szExeFile, handler) == 0)
                return testing::AssertionFailure() << toUtf8(process.szExeFile) << " is running";
        }
    }
    return testing::AssertionSuccess();
}

ScopedAttributes::ScopedAttributes(std::wstring path, DWORD attributes) : path_(std::move(path))
{
    previous_ = GetFileAttributesW(path_.c_str());
    if (previous_ == INVALID_FILE_ATTRIBUTES) return;
    applied_ = SetFileAttributesW(path_.c_str(), attributes) != 0;
}

ScopedAttributes::~ScopedAttributes()
{
    if (applied_) SetFileAttributesW(path_.c_str(), previous_);
}

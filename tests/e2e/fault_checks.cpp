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

// Wine's own path conversion; the result is the caller's to free.
static std::string unixPathOf(const std::wstring& path)
{
    using Conversion = char*(CDECL*)(const wchar_t*);
    const auto convert = reinterpret_cast<Conversion>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unixPath = convert ? convert(path.c_str()) : nullptr;
    if (!unixPath) return {};
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

// Whether the file or folder can be changed: an immutable one refuses even
// its own attributes set again. (A probe file made in a folder could stay
// there, when the folder turned immutable before the file was deleted.)
static bool isWritable(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && SetFileAttributesW(path.c_str(), attributes) != 0;
}

// Wine starts a Unix program as it starts a Windows one, but without a
// handle to wait on: the change is waited for by its effect.
static bool changeAttribute(const std::wstring& path, bool immutable)
{
    const std::string unixPath = unixPathOf(path);
    if (unixPath.empty()) return false;
    std::wstring commandLine = std::wstring(L"chattr ") + (immutable ? L"+i" : L"-i") + L" \"" +
                               fromUtf8(unixPath) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(L"Z:\\usr\\bin\\chattr", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return false;
    const KernelHandle process(info.hProcess);
    const KernelHandle thread(info.hThread);
    for (int wait = 0; wait < 200; ++wait) {
        if (isWritable(path) != immutable) return true;
        Sleep(50);
    }
    return false;
}

ScopedImmutable::ScopedImmutable(std::vector<std::wstring> paths) : paths_(std::move(paths))
{
    for (; done_ < paths_.size(); ++done_) {
        if (!changeAttribute(paths_[done_], true)) return;
    }
    applied_ = true;
}

ScopedImmutable::~ScopedImmutable()
{
    while (done_ > 0) changeAttribute(paths_[--done_], false);
}

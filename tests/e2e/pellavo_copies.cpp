#include "tests/e2e/pellavo_copies.h"

#include <windows.h>

#include <shlobj.h>

#include "base/win32_handles.h"
#include "tests/e2e/pellavo_runner.h"
#include "tests/e2e/shell_verbs.h"
#include "tests/e2e/test_programs.h"
#include "tests/support/child_process.h"
#include "tests/support/file_system.h"
#include "tests/support/utf8_conversion.h"

// Long enough for a slow machine under Wine; reaching it means that the
// copy hangs, for instance on a message box that nobody will close.
constexpr DWORD kTimeLimitMs = 30000;

static bool keyExists(HKEY root, const std::wstring& subKey)
{
    RegKey key;
    return RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key.receive()) == ERROR_SUCCESS;
}

void PellavoCopies::noteKeysToRemove(HKEY root, const std::wstring& type)
{
    for (const std::wstring& key : {type + L"\\shell", type}) {
        if (!keyExists(root, key)) keysToRemoveIfEmpty_.emplace_back(root, key);
    }
}

std::wstring knownFolderPath(const KNOWNFOLDERID& id)
{
    wchar_t* path = nullptr;
    const HRESULT result = SHGetKnownFolderPath(id, 0, nullptr, &path);
    const std::wstring text = SUCCEEDED(result) && path ? path : L"";
    CoTaskMemFree(path);
    return text;
}

PellavoCopies::PellavoCopies() : root_(knownFolderPath(FOLDERID_ProgramFiles))
{
    // A fresh Wine prefix has no keys for pictures: Install makes them (the
    // old ones a test makes), Uninstall leaves them empty. Innermost first,
    // for the removal; the user's classes are named by their full path.
    for (const auto& [root, prefix] : {std::pair<HKEY, std::wstring>{HKEY_CLASSES_ROOT, L""},
                                       std::pair<HKEY, std::wstring>{HKEY_CURRENT_USER, L"Software\\Classes\\"}}) {
        for (const wchar_t* type : kPictureTypes) noteKeysToRemove(root, prefix + type);
        for (const wchar_t* type : kOldPictureTypes) noteKeysToRemove(root, prefix + type);
        noteKeysToRemove(root, prefix + L"SystemFileAssociations");
    }
}

PellavoCopies::~PellavoCopies()
{
    for (const std::wstring& copy : copies_) runInJob(copy, quotedPath(copy) + L" Uninstall", kTimeLimitMs);
    if (ready()) deleteVerbsNaming(root());
    for (const std::wstring& folder : ownFolders_) {
        deleteVerbsNaming(folder);
        removeTree(folder);
    }
    // Deleting a key fails while it has subkeys, so what others keep there stays.
    for (const auto& [root, key] : keysToRemoveIfEmpty_) RegDeleteKeyW(root, key.c_str());
}

std::wstring PellavoCopies::add(const std::wstring& folder, const std::string& settings)
{
    if (!ready()) return {};
    const std::wstring target = root() + L"\\" + folder;
    if (SHCreateDirectoryExW(nullptr, target.c_str(), nullptr) != ERROR_SUCCESS) return {};
    return copyInto(target, settings);
}

std::wstring PellavoCopies::addAt(const std::wstring& folder, const std::string& settings)
{
    if (folder.empty() || SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr) != ERROR_SUCCESS) return {};
    ownFolders_.push_back(folder);
    return copyInto(folder, settings);
}

std::wstring PellavoCopies::copyInto(const std::wstring& target, const std::string& settings)
{
    const std::wstring copy = target + L"\\pellavo.exe";
    if (!CopyFileW(pellavoPath().c_str(), copy.c_str(), TRUE)) return {};
    // Uninstalled when the owner goes, even if the rest of the copy fails.
    copies_.push_back(copy);

    const std::wstring shippedLocal = folderOf(pellavoPath()) + L"\\local";
    const std::wstring local = target + L"\\local";
    const std::vector<std::wstring> translations = folderEntries(shippedLocal);
    if (translations.empty() || !CreateDirectoryW(local.c_str(), nullptr)) return {};
    for (const std::wstring& name : translations) {
        if (!CopyFileW((shippedLocal + L"\\" + name).c_str(), (local + L"\\" + name).c_str(), TRUE)) return {};
    }
    if (!writeFileText(target + L"\\settings.txt", settings)) return {};
    return copy;
}

std::wstring quotedPath(const std::wstring& path)
{
    return L"\"" + path + L"\"";
}

std::wstring folderOf(const std::wstring& path)
{
    const size_t end = path.rfind(L'\\');
    return end == std::wstring::npos ? std::wstring() : path.substr(0, end);
}

#include "tests/support/temp_folder.h"

#include <windows.h>

#include <utility>

#include "tests/support/file_system.h"

static std::wstring temporaryRoot()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) return {};
    std::wstring root(buffer, length);
    if (!root.empty() && root.back() == L'\\') root.pop_back();
    return root;
}

TempFolder::TempFolder() : TempFolder(temporaryRoot()) {}

TempFolder::TempFolder(const std::wstring& root)
{
    if (root.empty()) return;
    // The process id keeps two runs apart, the counter the folders of one run.
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::wstring candidate = root + L"\\pellavo-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                       std::to_wstring(++counter);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

TempFolder::TempFolder(TempFolder&& other) noexcept : path_(std::exchange(other.path_, std::wstring())) {}

TempFolder& TempFolder::operator=(TempFolder&& other) noexcept
{
    if (this != &other) {
        remove();
        path_ = std::exchange(other.path_, std::wstring());
    }
    return *this;
}

TempFolder::~TempFolder()
{
    remove();
}

void TempFolder::remove() noexcept
{
    if (!path_.empty()) removeTree(path_);
    path_.clear();
}

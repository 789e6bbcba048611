#include "tests/e2e/test_programs.h"

#include <windows.h>

#include <algorithm>

static std::wstring& storedPellavoPath()
{
    static std::wstring path;
    return path;
}

void setPellavoPath(const std::wstring& path)
{
    std::wstring windowsPath = path;
    // CMake knows the build tree by its Unix path; Wine shows the Unix root as drive Z:.
    if (!windowsPath.empty() && windowsPath.front() == L'/') windowsPath = L"Z:" + windowsPath;
    std::replace(windowsPath.begin(), windowsPath.end(), L'/', L'\\');
    storedPellavoPath() = windowsPath;
}

const std::wstring& pellavoPath()
{
    return storedPellavoPath();
}

std::wstring recorderPath()
{
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::wstring path(buffer, length);
    return path.substr(0, path.rfind(L'\\') + 1) + L"open_recorder.exe";
}

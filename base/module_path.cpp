#include "base/module_path.h"

#include <windows.h>

#include "base/executable_directory.h"

Utf8String runningExecutablePath()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return Utf8String();
    return Utf8String::fromWide(path, 0);
}

Utf8String fileBesideExecutable(const Utf8String& relativeName)
{
    const Utf8String directory = executableDirectory(runningExecutablePath());
    if (directory.charCount() == 0) return Utf8String();
    return Utf8String::concat(directory, relativeName);
}

Utf8String fileBesideExecutable(const char* relativeName)
{
    return fileBesideExecutable(Utf8String::fromAnsi(relativeName));
}

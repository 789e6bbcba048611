#include <windows.h>

#include <cstdlib>
#include <string>

#include "base/win32_handles.h"
#include "tests/e2e/open_log.h"
#include "tests/support/utf8_conversion.h"

static std::wstring environmentVariable(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

// Stands in for the application that the shell opens a picture with: it
// appends its arguments (the opened path, one argument since the registered
// command quotes it) as one UTF-8 line to the file that PELLAVO_OPEN_LOG
// names. It inherits that variable from pellavo.exe, which has it from the test.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::wstring logPath = environmentVariable(kOpenLogVariable);
    if (logPath.empty()) return 1;

    std::wstring arguments;
    for (int i = 1; i < __argc; ++i) {
        if (i > 1) arguments += L' ';
        arguments += __wargv[i];
    }
    const std::string line = toUtf8(arguments) + "\n";

    const FileHandle log(CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log) return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return ok && written == line.size() ? 0 : 1;
}

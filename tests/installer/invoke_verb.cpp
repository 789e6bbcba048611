#include <windows.h>

#include <shellapi.h>

#include <cstdio>

#include "base/win32_handles.h"

// Long enough for a slow machine under Wine; reaching it means that the verb's
// program hangs.
constexpr DWORD kTimeLimitMs = 30000;

// Does what Explorer does when an item of a file's context menu is chosen:
// asks the shell to carry out the verb of that name on the file. Then waits
// for the program the verb started and exits with its exit code; 2 when the
// shell could not carry the verb out, 3 when the program did not end in time.
// Usage: invoke_verb VERB FILE
int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: invoke_verb VERB FILE\n");
        return 2;
    }
    const ComApartment apartment;
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = argv[1];
    info.lpFile = argv[2];
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info) || !info.hProcess) {
        std::fprintf(stderr, "invoke_verb: the shell did not carry out the verb (error %lu)\n", GetLastError());
        return 2;
    }
    const KernelHandle process(info.hProcess);
    if (WaitForSingleObject(process.get(), kTimeLimitMs) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "invoke_verb: the verb's program did not end within %lu ms\n", kTimeLimitMs);
        return 3;
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.get(), &exitCode);
    return static_cast<int>(exitCode);
}

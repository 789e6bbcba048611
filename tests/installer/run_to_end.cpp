#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

#include "tests/support/child_process.h"

// An uninstallation may take a while under Wine; reaching the limit means a hang.
constexpr DWORD kTimeLimitMs = 60000;

// The program a command line starts: its first argument.
static std::wstring applicationOf(const std::wstring& commandLine)
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(commandLine.c_str(), &count);
    if (!arguments) return {};
    std::wstring application = count > 0 ? arguments[0] : L"";
    LocalFree(arguments);
    return application;
}

// Runs a command line, such as an uninstaller's QuietUninstallString, and
// waits until it and every process it started have ended: an NSIS
// uninstaller copies itself to the temporary folder, starts the copy and
// returns at once. Exits with the command's exit code; 2 when it did not
// start, 3 when something was still running at the time limit.
// Usage: run_to_end "COMMAND LINE"
int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: run_to_end \"COMMAND LINE\"\n");
        return 2;
    }
    const std::wstring commandLine = argv[1];
    const ChildRun run = runInJob(applicationOf(commandLine), commandLine, kTimeLimitMs);
    if (!run.started) {
        std::fprintf(stderr, "run_to_end: could not start the command\n");
        return 2;
    }
    if (!run.finished) {
        std::fprintf(stderr, "run_to_end: the command did not end within %lu ms\n", kTimeLimitMs);
        return 3;
    }
    return static_cast<int>(run.exitCode);
}

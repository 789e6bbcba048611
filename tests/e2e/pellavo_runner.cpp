#include "tests/e2e/pellavo_runner.h"

#include "tests/support/child_process.h"
#include "tests/e2e/test_programs.h"
#include "tests/support/utf8_conversion.h"

// Long enough for a slow machine under Wine; reaching it means that the
// program hangs, for instance on a message box that nobody will close.
constexpr DWORD kTimeLimitMs = 30000;

testing::AssertionResult runsProgram(const std::wstring& executable, const std::wstring& commandLine,
                                     DWORD exitCode)
{
    const ChildRun run = runInJob(executable, commandLine, kTimeLimitMs);
    const std::string shown = toUtf8(commandLine);
    if (!run.started) return testing::AssertionFailure() << "could not start: " << shown;
    if (!run.finished)
        return testing::AssertionFailure() << "did not end within " << kTimeLimitMs << " ms: " << shown;
    if (run.exitCode != exitCode) return testing::AssertionFailure() << "exit code " << run.exitCode << ": " << shown;
    return testing::AssertionSuccess();
}

testing::AssertionResult runsPellavoWithCommandLine(const std::wstring& commandLine)
{
    return runsProgram(pellavoPath(), commandLine);
}

testing::AssertionResult runsPellavo(const std::wstring& arguments)
{
    return runsPellavoWithCommandLine(L"\"" + pellavoPath() + L"\" " + arguments);
}

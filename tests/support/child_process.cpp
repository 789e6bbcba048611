#include "tests/support/child_process.h"

#include <cwchar>

#include "base/win32_handles.h"

static KernelHandle createKillingJob(HANDLE port)
{
    KernelHandle job(CreateJobObjectW(nullptr, nullptr));
    if (!job) return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT association = {};
    association.CompletionKey = job.get();
    association.CompletionPort = port;
    if (!SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
        !SetInformationJobObject(job.get(), JobObjectAssociateCompletionPortInformation, &association,
                                 sizeof association)) {
        job.reset();
    }
    return job;
}

// The limit, times PELLAVO_TEST_TIME_SCALE where set (scripts/test-x86.sh
// sets it: an emulated PC runs every program several times slower).
static ULONGLONG scaledLimit(DWORD timeLimitMs)
{
    wchar_t text[8] = {};
    const DWORD length = GetEnvironmentVariableW(L"PELLAVO_TEST_TIME_SCALE", text, 8);
    const long scale = length > 0 && length < 8 ? std::wcstol(text, nullptr, 10) : 1;
    return static_cast<ULONGLONG>(timeLimitMs) * static_cast<ULONGLONG>(scale > 1 && scale <= 100 ? scale : 1);
}

static DWORD remainingUntil(ULONGLONG deadline)
{
    const ULONGLONG now = GetTickCount64();
    return now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
}

static bool waitUntilJobIsEmpty(HANDLE port, ULONGLONG deadline)
{
    for (;;) {
        DWORD message = 0;
        ULONG_PTR key = 0;
        OVERLAPPED* overlapped = nullptr;
        if (!GetQueuedCompletionStatus(port, &message, &key, &overlapped, remainingUntil(deadline))) return false;
        if (message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO) return true;
    }
}

ChildRun runInJob(const std::wstring& application, const std::wstring& commandLine, DWORD timeLimitMs)
{
    ChildRun run;
    // Wine starts its desktop process for the first program to touch a
    // window; started from inside the job, it would keep the job alive for ever.
    GetDesktopWindow();
    const KernelHandle port(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
    if (!port) return run;
    const KernelHandle job = createKillingJob(port.get());
    if (!job) return run;

    std::wstring mutableLine = commandLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    // Suspended until it is in the job, so that nothing it starts escapes.
    // Wine now and then refuses to start a program file copied a moment
    // before; a few tries a little apart get past that.
    bool created = false;
    for (int attempt = 0; attempt < 5 && !created; ++attempt) {
        if (attempt > 0) Sleep(200);
        created = CreateProcessW(application.c_str(), mutableLine.data(), nullptr, nullptr, FALSE,
                                 CREATE_SUSPENDED, nullptr, nullptr, &startup, &info) != 0;
    }
    if (!created) return run;
    const KernelHandle process(info.hProcess);
    const KernelHandle thread(info.hThread);
    if (!AssignProcessToJobObject(job.get(), process.get())) {
        TerminateProcess(process.get(), 1);
        return run;
    }
    ResumeThread(thread.get());
    run.started = true;

    const ULONGLONG deadline = GetTickCount64() + scaledLimit(timeLimitMs);
    if (WaitForSingleObject(process.get(), remainingUntil(deadline)) != WAIT_OBJECT_0) return run;
    GetExitCodeProcess(process.get(), &run.exitCode);
    run.finished = waitUntilJobIsEmpty(port.get(), deadline);
    return run;
}

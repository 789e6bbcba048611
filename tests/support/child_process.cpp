#include "tests/support/child_process.h"

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

    const ULONGLONG deadline = GetTickCount64() + timeLimitMs;
    if (WaitForSingleObject(process.get(), remainingUntil(deadline)) != WAIT_OBJECT_0) return run;
    GetExitCodeProcess(process.get(), &run.exitCode);
    run.finished = waitUntilJobIsEmpty(port.get(), deadline);
    return run;
}

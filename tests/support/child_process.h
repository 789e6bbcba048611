#pragma once

#include <windows.h>

#include <string>

struct ChildRun {
    bool started = false;
    // The program and every process it started ended within the time limit.
    bool finished = false;
    DWORD exitCode = 0;
};

// Starts a program with the given command line (which begins with the
// program's name as the program is to see it) inside a job object, and waits
// up to the time limit until it and every process it started have ended:
// the shell starts the application that opens a file asynchronously, so its
// end, not the program's, says that everything has been recorded. What is
// still running at the limit is killed with the job.
ChildRun runInJob(const std::wstring& application, const std::wstring& commandLine, DWORD timeLimitMs);

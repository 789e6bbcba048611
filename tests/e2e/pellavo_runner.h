#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

// Runs pellavo.exe as "<pellavo.exe>" <arguments>, that is with its full path
// quoted, and waits for it and for whatever it opened. Success when both
// ended within the time limit and pellavo.exe's exit code was 0, which it
// must be on every path, failures included.
testing::AssertionResult runsPellavo(const std::wstring& arguments);

// Runs any program so, with the whole command line given (its own name
// first), and waits for it and for what it opened; success needs the given
// exit code (Install and Uninstall give kWriteFailed when a write failed).
testing::AssertionResult runsProgram(const std::wstring& executable, const std::wstring& commandLine,
                                     DWORD exitCode = 0);

// The same with the whole command line given, program name included, so
// that a test can show pellavo.exe a name of its own choosing.
testing::AssertionResult runsPellavoWithCommandLine(const std::wstring& commandLine);

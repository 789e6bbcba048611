#pragma once

#include <windows.h>

#include <thread>

#include "text/utf8_string.h"

// Hands a file or address to the shell ("open" by default; null for the
// default action); failures are the shell's to report, if at all.
void openWithShell(const Utf8String& target, HWND owner = nullptr, const wchar_t* verb = L"open");

// The shell's libraries load when first called. This loads them on a thread
// of its own while the owner works, so that a command that opens a file when
// its work is done finds them ready; the thread ends before the owner does.
class ShellOpenPreload {
public:
    ShellOpenPreload();
    ShellOpenPreload(const ShellOpenPreload&) = delete;
    ShellOpenPreload& operator=(const ShellOpenPreload&) = delete;
    ~ShellOpenPreload();

private:
    std::thread loader_;
};

#pragma once

#include <windows.h>

#include "text/utf8_string.h"

// Hands a file or address to the shell ("open" by default; null for the
// default action); failures are the shell's to report, if at all.
void openWithShell(const Utf8String& target, HWND owner = nullptr, const wchar_t* verb = L"open");

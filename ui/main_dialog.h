#pragma once

#include <windows.h>

// The size-list dialog that the program shows when started without arguments.
INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);


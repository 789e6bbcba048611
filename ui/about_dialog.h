#pragma once

#include <windows.h>

// The About box: banner, description, version, web page and feedback buttons.
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

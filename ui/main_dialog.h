#pragma once

#include <windows.h>

#include <vector>

#include "text/utf8_string.h"

// The size-list dialog that the program shows when started without arguments.
INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills the list box with these texts; the box keeps them in text order.
void showSizeList(HWND dialog, const std::vector<Utf8String>& texts);

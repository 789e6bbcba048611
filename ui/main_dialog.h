#pragma once

#include <windows.h>

#include <vector>

#include "text/utf8_string.h"

// The size-list dialog that the program shows when started without arguments.
INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills the list box with the size list's presets, each as its size and
// what its options change, in the interface's language; the box keeps them
// in text order, each line knowing its preset's place in the list.
void showSizeList(HWND dialog);

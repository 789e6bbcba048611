#pragma once

#include <windows.h>

#include <cstdint>

// The main dialog's list box of the size list's presets.

// Fills it with the presets, each as its size and what its options change,
// in the interface's language; the box keeps them in text order, each line
// knowing its preset's place in the list.
void showSizeList(HWND dialog);

// The place in the size list of the preset a line shows; -1 for none.
int32_t entryOfLine(HWND dialog, LRESULT line);
int32_t selectedEntry(HWND dialog);
// Selects the line that shows the preset at that place.
void selectEntry(HWND dialog, int32_t entry);

#pragma once

#include <windows.h>

#include <string>
#include <vector>

std::wstring windowText(HWND window);
std::wstring className(HWND window);
std::wstring itemText(HWND dialog, int controlId);

// The lines of a list box, top to bottom.
std::vector<std::wstring> listBoxLines(HWND dialog, int controlId);
std::vector<std::wstring> comboBoxLines(HWND dialog, int controlId);

// A message box's message: its one static control with text (the icon has none).
std::wstring messageBoxText(HWND box);

// The text of a menu item by its position, accelerator marks included.
std::wstring menuText(HMENU menu, UINT position);

// The letter after a text's "&" ("&&" is a plain "&") as it is written; 0
// when it has none.
wchar_t accessKey(const std::wstring& text);

// A letter in capitals, as the dialog manager compares access keys.
wchar_t upperCase(wchar_t letter);

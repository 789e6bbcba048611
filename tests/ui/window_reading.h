#pragma once

#include <windows.h>

#include <string>
#include <vector>

std::wstring windowText(HWND window);
std::wstring className(HWND window);
std::wstring itemText(HWND dialog, int controlId);

// The lines of a list box, top to bottom.
std::vector<std::wstring> listBoxLines(HWND dialog, int controlId);

// The text of a menu item by its position, accelerator marks included.
std::wstring menuText(HMENU menu, UINT position);

#pragma once

#include <windows.h>

#include "text/utf8_string.h"

// Writes a REG_SZ value; its size counts the terminating NUL.
bool setRegistryText(HKEY key, const wchar_t* valueName, const Utf8String& text);

// The value below parent\subKey (view: 0 or a KEY_WOW64_ flag), or empty when
// it cannot be read whole into 259 units; its type goes to *type when asked.
Utf8String readRegistryText(HKEY parent, const wchar_t* subKey, REGSAM view, const wchar_t* valueName,
                            DWORD* type = nullptr);

#pragma once

#include <windows.h>

#include "text/utf8_string.h"

// Sets a control's text to the key's text in the current language.
void setItemCaption(HWND dialog, int controlId, Utf8String key);

// The main dialog's title, menu texts and controls in the current language.
void applyMainCaptions(HWND dialog);

// The About dialog's title and texts in the current language.
void applyAboutCaptions(HWND dialog);

#pragma once

#include <windows.h>

// Gives a message to the dialog's keyboard handling (Tab, Enter, Esc, access
// keys) when it is for the dialog or one of its controls, else to its window;
// with no dialog, straight to its window.
void dispatchDialogMessage(HWND dialog, MSG& message);

// Pumps messages for the modeless dialog until the quit message; gives its code.
int runMessageLoop(HWND dialog);

// Pumps messages until the quit message, each to the keyboard handling of
// whichever of the thread's modeless dialogs it is for.
void runDialogsMessageLoop();

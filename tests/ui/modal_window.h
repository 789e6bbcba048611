#pragma once

#include <windows.h>

#include <functional>
#include <string>

struct ModalRun {
    // Timer ticks on which the modal dialog was open.
    int ticks = 0;
    // It was still open after the last tick allowed and was ended by force.
    bool forced = false;
};

// Runs an action that opens a modal dialog, meant to be owned by `owner` (a
// message box, the About box), and hands that dialog to `onTick` on each
// tick of a timer that the dialog's own modal loop dispatches, until it is
// gone: the loop holds the thread, and under Wine's headless driver nobody
// is there to press a button. A dialog that the handler leaves open for
// hundreds of ticks is ended, so that a fault fails the test instead of
// hanging it.
ModalRun driveModalWindow(HWND owner, const std::function<void()>& action,
                          const std::function<void(HWND dialog, int tick)>& onTick);

struct MessageBoxSeen {
    bool shown = false;
    HWND owner = nullptr;
    std::wstring text;
    std::wstring caption;
    bool forced = false;
};

// Runs the action; a message box that it shows meanwhile is read and closed
// with its OK button.
MessageBoxSeen closeMessageBoxDuring(HWND owner, const std::function<void()>& action);

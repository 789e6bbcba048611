#pragma once

#include <windows.h>

#include <future>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"

struct MessageBoxTexts {
    std::wstring caption;
    std::wstring text;
    // The text of the control asked for, as in the About box; empty when none was.
    std::wstring item;
};

// A program started without arguments whose main dialog this process drives
// from outside, as a user would: by commands, reading the dialog and its
// message boxes. The program runs in a job of its own and is closed (and at
// the time limit killed) when the session ends.
class DialogSession {
public:
    explicit DialogSession(const std::wstring& executable);
    DialogSession(const DialogSession&) = delete;
    DialogSession& operator=(const DialogSession&) = delete;
    ~DialogSession();

    // Null when no dialog showed within the time limit.
    HWND window() const { return window_; }
    // Carries out a button or menu command and waits until the dialog has.
    bool command(WORD id) const;
    // Carries out a command that shows a message box, reads the box (and the
    // control of the given id in it) and presses its OK; nothing when no box showed.
    std::optional<MessageBoxTexts> commandShowingBox(WORD id, int item = 0) const;
    // The same for a box the dialog shows by itself, such as a warning as it opens.
    std::optional<MessageBoxTexts> boxShown(int item = 0) const;
    // Closes the window as its close box does, and waits for the program.
    ChildRun close();

private:
    HWND messageBox() const;

    std::future<ChildRun> run_;
    std::wstring executable_;
    HWND window_ = nullptr;
};

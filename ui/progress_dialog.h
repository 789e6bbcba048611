#pragma once

#include <windows.h>

#include <functional>

#include "text/utf8_string.h"

class PictureBatch;

// What the progress window does once the batch's workers have all stopped.
using BatchFinished = void (*)(HWND dialog);

// Creates the batch's progress window, hidden, and starts the batch's
// workers, which report to it. The window shows itself when the batch runs
// past about a second; Cancel lets the pictures in hand finish and starts no
// other. Null when the window cannot be made.
HWND startBatchWithProgress(PictureBatch& batch, BatchFinished finished);

// What follows once the user has read a batch's account.
using AccountRead = std::function<void()>;

// Turns the window of a finished batch into its account: the text, which the
// window grows to hold, and OK in place of the bar and Cancel, shown at once.
// OK, Enter, Esc or closing the window destroys it, then runs read.
void showBatchAccount(HWND dialog, const Utf8String& account, AccountRead read);

// The account of a batch whose window could not be made, in a message box of
// its own, owned by no window; returns once it is read.
void showBatchAccountAlone(const Utf8String& account);

#pragma once

#include <windows.h>

class PictureBatch;

// What the progress window does once the batch's workers have all stopped.
using BatchFinished = void (*)(HWND dialog);

// Creates the batch's progress window, hidden, and starts the batch's
// workers, which report to it. The window shows itself when the batch runs
// past about a second; Cancel lets the pictures in hand finish and starts no
// other. Null when the window cannot be made.
HWND startBatchWithProgress(PictureBatch& batch, BatchFinished finished);

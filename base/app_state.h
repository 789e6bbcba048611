#pragma once

#include <windows.h>

// The module instance, recorded once at entry; the About box is opened with it.
extern HINSTANCE appInstance;

// Zero while GDI+ is not running.
extern ULONG_PTR gdiplusToken;

// Starts GDI+ once, on the first call from any thread; true while it runs.
bool startGdiplus();
// At the process's end, on its main thread, once every user of GDI+ is done.
void stopGdiplus();

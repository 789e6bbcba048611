#pragma once

#include <windows.h>

// The module instance, recorded once at entry; the About box is opened with it.
extern HINSTANCE appInstance;

#pragma once

// GDI+'s C++ wrappers need the full <windows.h> (PROPID comes from objidl.h).
#include <windows.h>

#include <gdiplus.h>

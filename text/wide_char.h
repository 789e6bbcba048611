#pragma once

// One UTF-16 unit: Windows' wchar_t where Win32 takes it, char16_t in the
// host build, whose wchar_t is 32 bits wide.
#ifdef _WIN32
using WideChar = wchar_t;
#else
using WideChar = char16_t;
#endif

static_assert(sizeof(WideChar) == 2, "UTF-16 units are 16 bits wide");

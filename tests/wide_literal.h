#pragma once

#include "text/wide_char.h"

// A UTF-16 literal of the build's WideChar type.
#ifdef _WIN32
#define WIDE(text) L##text
#else
#define WIDE(text) u##text
#endif

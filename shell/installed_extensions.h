#pragma once

#include <vector>

#include "text/utf8_string.h"

// The extensions the verbs go on: those of every WIC decoder on this
// machine and of the program's own codecs, or, when WIC cannot be asked,
// fallbackPictureExtensions. Asked in the calling thread's COM apartment.
// Empty only when memory ran out.
std::vector<Utf8String> installedPictureExtensions();

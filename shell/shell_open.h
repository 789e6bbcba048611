#pragma once

#include "text/utf8_string.h"

// Opens a file or address with the shell's "open" action; failures are silent.
void openWithShell(const Utf8String& target);

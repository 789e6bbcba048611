#pragma once

#include "text/utf8_string.h"

// The path up to and including its last backslash; empty when it has none.
Utf8String executableDirectory(const Utf8String& executablePath);

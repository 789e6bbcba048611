#pragma once

#include "text/utf8_string.h"

// Does what the arguments ask for and gives the process's exit code.
int runApplication(const Utf8String& arguments);

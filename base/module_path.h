#pragma once

#include "text/utf8_string.h"

// The running executable's full path; empty when it does not fit the
// 260-unit buffer, since a cut path would name some other file.
Utf8String runningExecutablePath();

// A file beside the running executable, such as "settings.txt" or
// "local\\en_translate.txt"; empty when the executable's path is unknown.
Utf8String fileBesideExecutable(const Utf8String& relativeName);
Utf8String fileBesideExecutable(const char* relativeName);

#pragma once

#include "text/utf8_string.h"

// The exit code of Install and Uninstall when a setting or verb could not
// be written.
constexpr int kWriteFailed = 1;

// The exit code of Install when settings.txt is there but cannot be read,
// or holds text but no size: nothing was written.
constexpr int kSettingsUnread = 2;

// Does what the arguments ask for and gives the process's exit code.
int runApplication(const Utf8String& arguments);

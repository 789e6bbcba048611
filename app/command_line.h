#pragma once

#include "text/utf8_string.h"

enum class LaunchMode { Install, Uninstall, Serve, Resize, MainDialog };

// The arguments as the start-up code of a Windows program hands them over:
// the program's own name (quotes switch an inside-quotes state) and every
// character from 1 to 32 after it are skipped; the rest stays unchanged.
const WideChar* commandLineArguments(const WideChar* commandLine);

// What a run does with its arguments: the two command words count only as
// the whole text in exactly that case; "-serve " at the start is the COM
// server that resizes a whole selection; any other text goes to the resize.
LaunchMode launchModeFor(const Utf8String& arguments);

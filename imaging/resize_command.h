#pragma once

#include "text/utf8_string.h"

// What a context-menu verb runs: "-size WxH <picture>" writes a fitted copy
// beside the picture and opens it. Every failure ends it silently.
void runResizeCommand(const Utf8String& commandLine);

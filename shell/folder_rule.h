#pragma once

#include <vector>

#include "text/utf8_string.h"

// True when the path names something inside the folder, as full paths
// compared in any letter case; the folder may end in a backslash or not. A
// sibling whose name only begins like the folder ("Program Files Extra") is
// not inside it, nor is the folder itself. Short 8.3 names are not matched:
// the caller hands both in their long forms.
bool isUnderFolder(const Utf8String& path, const Utf8String& folder);

// True when the path is under any of the folders; empty ones (a folder the
// system could not name) take in nothing.
bool isUnderAnyFolder(const Utf8String& path, const std::vector<Utf8String>& folders);

#pragma once

#include <vector>

#include "text/utf8_string.h"

// The copies of one folder: the folder's path (no last backslash) and the
// copies' names in it.
struct FolderCopies {
    Utf8String folder;
    std::vector<Utf8String> names;
};

// The copies grouped by folder, folders in the order they first appear, a
// folder's letter case ignored as Windows ignores it. Paths without a
// backslash are left out.
std::vector<FolderCopies> copiesByFolder(const std::vector<Utf8String>& copies);

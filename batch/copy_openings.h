#pragma once

#include <string>
#include <vector>

// Shows what a batch wrote: one copy is opened as the resize command opens
// it; several open one folder window per folder with its new copies
// selected, never a viewer per copy. Needs COM on the calling thread.
void openCopies(const std::vector<std::wstring>& copies);

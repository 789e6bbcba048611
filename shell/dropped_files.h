#pragma once

#include <objidl.h>

#include <string>
#include <vector>

// The files of a drop (its CF_HDROP), as full paths; none when it holds no
// file list. Names past the longest Windows path are left out.
std::vector<std::wstring> droppedFiles(IDataObject* data);

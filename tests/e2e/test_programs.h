#pragma once

#include <string>

// Where pellavo.exe is, as the command line of e2e_tests named it: a Windows
// path, or a Unix path, which Wine's drive Z: maps.
void setPellavoPath(const std::wstring& path);
const std::wstring& pellavoPath();

// open_recorder.exe, built beside e2e_tests.exe.
std::wstring recorderPath();

#pragma once

#include <string>
#include <vector>

// The environment variable that tells open_recorder.exe where to append.
inline constexpr const wchar_t* kOpenLogVariable = L"PELLAVO_OPEN_LOG";

// The lines open_recorder.exe appended, one per opened file; none when the
// log does not exist.
std::vector<std::wstring> readOpenLog(const std::wstring& path);

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

std::optional<Bytes> readFileBytes(const std::wstring& path);
bool writeFileBytes(const std::wstring& path, const Bytes& bytes);
// The same for texts held as bytes in a std::string.
std::optional<std::string> readFileText(const std::wstring& path);
bool writeFileText(const std::wstring& path, const std::string& text);
bool pathExists(const std::wstring& path);
// A file's modification time in FILETIME ticks; 0 when it cannot be read.
uint64_t modificationTime(const std::wstring& path);
bool setModificationTime(const std::wstring& path, uint64_t ticks);
// The names (not paths) of a folder's files and subfolders, sorted.
std::vector<std::wstring> folderEntries(const std::wstring& folder);
// Deletes a folder with everything in it; true when it is gone.
bool removeTree(const std::wstring& folder);

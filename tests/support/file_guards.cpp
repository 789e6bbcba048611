#include "tests/support/file_guards.h"

#include <windows.h>

#include <utility>

#include "tests/support/file_system.h"

SubstitutedFile::SubstitutedFile(std::wstring path, const std::optional<std::string>& content)
    : path_(std::move(path)), original_(readFileText(path_))
{
    ready_ = content ? writeFileText(path_, *content)
                     : DeleteFileW(path_.c_str()) || GetFileAttributesW(path_.c_str()) == INVALID_FILE_ATTRIBUTES;
}

SubstitutedFile::~SubstitutedFile()
{
    if (original_) writeFileText(path_, *original_);
    else DeleteFileW(path_.c_str());
}

EnsuredFolder::EnsuredFolder(std::wstring path) : path_(std::move(path))
{
    made_ = CreateDirectoryW(path_.c_str(), nullptr) != 0;
}

EnsuredFolder::~EnsuredFolder()
{
    if (made_) RemoveDirectoryW(path_.c_str());
}

#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/file_system.h"

// One entry below a folder: a subfolder, or a file with its bytes.
struct FolderEntry {
    bool isFolder = false;
    Bytes bytes;

    bool operator==(const FolderEntry& other) const { return isFolder == other.isFolder && bytes == other.bytes; }
};

// Everything below a folder, by path relative to it ("sub\name").
using FolderContent = std::map<std::wstring, FolderEntry>;

FolderContent contentOf(const std::wstring& folder);

// The folder holds what it held, byte for byte, and besides only the added
// names (with any content): bad input may leave nothing else behind.
testing::AssertionResult holdsAsBefore(const std::wstring& folder, const FolderContent& before,
                                       const std::vector<std::wstring>& added = {});

// No crash handler (winedbg, WerFault) is running in the prefix: a crash
// that ended the process with exit code 0 would still leave one.
testing::AssertionResult noCrashHandlerRunning();

// Gives a file or folder attributes for the owner's lifetime and puts the
// old ones back, so that a read-only folder can still be cleaned up.
class ScopedAttributes {
public:
    ScopedAttributes(std::wstring path, DWORD attributes);
    ScopedAttributes(const ScopedAttributes&) = delete;
    ScopedAttributes& operator=(const ScopedAttributes&) = delete;
    ~ScopedAttributes();

    bool applied() const { return applied_; }

private:
    std::wstring path_;
    DWORD previous_ = INVALID_FILE_ATTRIBUTES;
    bool applied_ = false;
};

// Makes files and folders immutable (chattr +i) for the owner's lifetime, so
// that nothing can be written, replaced or added there: Wine runs as root,
// which read-only attributes and Unix permissions do not stop. The flag is
// taken off again in the reverse order.
class ScopedImmutable {
public:
    explicit ScopedImmutable(std::vector<std::wstring> paths);
    ScopedImmutable(const ScopedImmutable&) = delete;
    ScopedImmutable& operator=(const ScopedImmutable&) = delete;
    ~ScopedImmutable();

    bool applied() const { return applied_; }

private:
    std::vector<std::wstring> paths_;
    size_t done_ = 0;
    bool applied_ = false;
};

#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

// Copies of the built pellavo.exe, each with the shipped "local" folder and
// a settings.txt of its own, in folders under one temporary folder, laid out
// as an installer would. When it goes, every copy uninstalls, whatever verb
// still names the temporary folder is deleted, the file type keys that did
// not exist before are removed once empty, and the folder goes: also when a
// test fails half way.
class PellavoCopies {
public:
    PellavoCopies();
    PellavoCopies(const PellavoCopies&) = delete;
    PellavoCopies& operator=(const PellavoCopies&) = delete;
    ~PellavoCopies();

    bool ready() const { return !root_.path().empty(); }
    const std::wstring& root() const { return root_.path(); }
    // Makes a copy in a folder given relative to the root (made with its
    // parents) whose settings.txt holds the given bytes; the copy's full
    // path, or empty when it could not be made.
    std::wstring add(const std::wstring& folder, const std::string& settings);

private:
    // Notes "<type>\shell" and "<type>" for removal once empty, where they do not exist yet.
    void noteKeysToRemove(const std::wstring& type);

    TempFolder root_;
    std::vector<std::wstring> copies_;
    std::vector<std::wstring> keysToRemoveIfEmpty_;
};

// "<path>" with the quotes.
std::wstring quotedPath(const std::wstring& path);

// The folder of a file's full path, without the last backslash.
std::wstring folderOf(const std::wstring& path);


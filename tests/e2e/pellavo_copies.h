#pragma once

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/temp_folder.h"

// Copies of the built pellavo.exe, each with the shipped "local" folder and
// a settings.txt of its own, in folders under one new folder in Program
// Files (so that they register for all users, where Wine's COM and
// HKEY_CLASSES_ROOT find them), laid out as an installer would; or in a
// folder of the test's choosing. When it goes, every copy uninstalls,
// whatever verb still names a copy is deleted from the machine's and the
// user's classes, the file type keys that did not exist before are removed
// once empty, and the folders go: also when a test fails half way.
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
    // The same in a full path's folder, which must not exist yet.
    std::wstring addAt(const std::wstring& folder, const std::string& settings);

private:
    // Notes "<type>\shell" and "<type>" below root for removal once empty, where they do not exist yet.
    void noteKeysToRemove(HKEY root, const std::wstring& type);
    std::wstring copyInto(const std::wstring& target, const std::string& settings);

    TempFolder root_;
    std::vector<std::wstring> copies_;
    std::vector<std::wstring> ownFolders_;
    std::vector<std::pair<HKEY, std::wstring>> keysToRemoveIfEmpty_;
};

// "<path>" with the quotes.
std::wstring quotedPath(const std::wstring& path);

// The folder of a file's full path, without the last backslash.
std::wstring folderOf(const std::wstring& path);


// A known folder's path (FOLDERID_ProgramFiles, FOLDERID_LocalAppData...); empty when the shell has none.
std::wstring knownFolderPath(const KNOWNFOLDERID& id);

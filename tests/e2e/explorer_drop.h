#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

// Plays Explorer for a DropTarget verb: creates the class out of process,
// as COM finds it from its id text, and drops the files on it as one
// CF_HDROP. The calling thread must be in a COM apartment. The result of the
// creation, or of the drop when the creation succeeded; the drop's effect
// goes to effect when it is given.
HRESULT dropOnClass(const std::wstring& classId, const std::vector<std::wstring>& files, DWORD* effect = nullptr);

// The processes that run one program file, watched from before a drop until
// they have all ended; those still running at the time limit are ended.
class ProgramWatch {
public:
    explicit ProgramWatch(std::wstring program) : program_(std::move(program)) { look(); }
    ~ProgramWatch();

    // Looks until the program runs no more or the time limit passes; true
    // when it ended.
    bool waitForEnd(DWORD timeLimitMs);
    // Every process seen running the program so far.
    const std::set<DWORD>& seen() const { return seen_; }
    // The first top-level window titled so of a seen process, or null.
    HWND windowTitled(const std::wstring& title);

private:
    // Records the running ones; true when any runs.
    bool look();

    std::wstring program_;
    std::set<DWORD> seen_;
    std::set<DWORD> running_;
};

#pragma once

#include <string>
#include <vector>

#include "tests/support/registry_default_value.h"

// Points the shell's "open" action for the picture types that the tests
// write (their extension keys and file classes under HKEY_CLASSES_ROOT) at
// one program, and the "explore" action of folders too, and restores the
// registry as it was when it goes.
class OpenCommandOverride {
public:
    // The program is started as: "<program>" "<opened file>".
    explicit OpenCommandOverride(const std::wstring& program);
    OpenCommandOverride(const OpenCommandOverride&) = delete;
    OpenCommandOverride& operator=(const OpenCommandOverride&) = delete;
    ~OpenCommandOverride();

    bool applied() const { return applied_; }

private:
    std::vector<ScopedDefaultValue> values_;
    bool applied_ = true;
};

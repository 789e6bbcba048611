#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Sets the default value of a registry key, creating the key if needed, and
// puts everything back when it goes: the previous value and type, no value
// at all, or no key at all (the keys it had to create are deleted).
class ScopedDefaultValue {
public:
    ScopedDefaultValue(HKEY root, const std::wstring& subKey, const std::wstring& value);
    ScopedDefaultValue(ScopedDefaultValue&& other) noexcept;
    ScopedDefaultValue& operator=(ScopedDefaultValue&&) = delete;
    ScopedDefaultValue(const ScopedDefaultValue&) = delete;
    ScopedDefaultValue& operator=(const ScopedDefaultValue&) = delete;
    ~ScopedDefaultValue();

    bool applied() const { return applied_; }

private:
    void save();
    void restore() noexcept;

    HKEY root_;
    std::wstring subKey_;
    // The outermost key that did not exist before; empty when the key existed.
    std::wstring firstCreatedKey_;
    bool hadValue_ = false;
    DWORD previousType_ = REG_NONE;
    std::vector<BYTE> previousData_;
    bool applied_ = false;
};

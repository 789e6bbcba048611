#pragma once

#include <string>

// A new, empty folder under the system's temporary folder, deleted with
// everything in it when the owner goes, also when a test fails.
class TempFolder {
public:
    TempFolder();
    // The same below another folder than the temporary one.
    explicit TempFolder(const std::wstring& parent);
    TempFolder(TempFolder&& other) noexcept;
    TempFolder& operator=(TempFolder&& other) noexcept;
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    // Empty when the folder could not be made.
    const std::wstring& path() const { return path_; }
    std::wstring file(const wchar_t* name) const { return path_ + L"\\" + name; }

private:
    void remove() noexcept;

    std::wstring path_;
};

#pragma once

#include <optional>
#include <string>

// Gives a file the content a test needs (or takes it away) and puts back
// what was there before, also when the test fails.
class SubstitutedFile {
public:
    SubstitutedFile(std::wstring path, const std::optional<std::string>& content);
    SubstitutedFile(const SubstitutedFile&) = delete;
    SubstitutedFile& operator=(const SubstitutedFile&) = delete;
    ~SubstitutedFile();

    bool ready() const { return ready_; }

private:
    std::wstring path_;
    std::optional<std::string> original_;
    bool ready_ = false;
};

// A folder that exists for the owner's lifetime; one it had to make is
// removed again, once it is empty.
class EnsuredFolder {
public:
    explicit EnsuredFolder(std::wstring path);
    EnsuredFolder(const EnsuredFolder&) = delete;
    EnsuredFolder& operator=(const EnsuredFolder&) = delete;
    ~EnsuredFolder();

private:
    std::wstring path_;
    bool made_ = false;
};

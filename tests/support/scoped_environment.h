#pragma once

#include <string>

// Sets an environment variable of this process, which the children it starts
// inherit, and puts the previous value (or its absence) back when it goes.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(std::wstring name, const std::wstring& value);
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;
    ~ScopedEnvironmentVariable();

private:
    std::wstring name_;
    std::wstring previous_;
    bool hadPrevious_ = false;
};

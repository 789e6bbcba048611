#include "tests/support/scoped_environment.h"

#include <windows.h>

#include <utility>

ScopedEnvironmentVariable::ScopedEnvironmentVariable(std::wstring name, const std::wstring& value)
    : name_(std::move(name))
{
    const DWORD size = GetEnvironmentVariableW(name_.c_str(), nullptr, 0);
    if (size > 0) {
        previous_.resize(size);
        previous_.resize(GetEnvironmentVariableW(name_.c_str(), previous_.data(), size));
        hadPrevious_ = true;
    }
    SetEnvironmentVariableW(name_.c_str(), value.c_str());
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable()
{
    SetEnvironmentVariableW(name_.c_str(), hadPrevious_ ? previous_.c_str() : nullptr);
}

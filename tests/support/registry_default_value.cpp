#include "tests/support/registry_default_value.h"

#include <utility>

#include "base/win32_handles.h"

static bool keyExists(HKEY root, const std::wstring& subKey)
{
    RegKey key;
    return RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key.receive()) == ERROR_SUCCESS;
}

static std::wstring firstMissingKey(HKEY root, const std::wstring& subKey)
{
    for (size_t end = subKey.find(L'\\'); ; end = subKey.find(L'\\', end + 1)) {
        const std::wstring prefix = subKey.substr(0, end);
        if (!keyExists(root, prefix)) return prefix;
        if (end == std::wstring::npos) return {};
    }
}

ScopedDefaultValue::ScopedDefaultValue(HKEY root, const std::wstring& subKey, const std::wstring& value)
    : root_(root), subKey_(subKey)
{
    save();
    RegKey key;
    if (RegCreateKeyExW(root_, subKey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.receive(), nullptr) !=
        ERROR_SUCCESS)
        return;
    applied_ = true;  // from here on, restoring has something to undo
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

ScopedDefaultValue::ScopedDefaultValue(ScopedDefaultValue&& other) noexcept
    : root_(other.root_),
      subKey_(std::move(other.subKey_)),
      firstCreatedKey_(std::move(other.firstCreatedKey_)),
      hadValue_(other.hadValue_),
      previousType_(other.previousType_),
      previousData_(std::move(other.previousData_)),
      applied_(std::exchange(other.applied_, false))
{
}

ScopedDefaultValue::~ScopedDefaultValue()
{
    restore();
}

void ScopedDefaultValue::save()
{
    firstCreatedKey_ = firstMissingKey(root_, subKey_);
    if (!firstCreatedKey_.empty()) return;
    RegKey key;
    if (RegOpenKeyExW(root_, subKey_.c_str(), 0, KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS) return;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), nullptr, nullptr, &previousType_, nullptr, &size) != ERROR_SUCCESS) return;
    previousData_.resize(size);
    hadValue_ = RegQueryValueExW(key.get(), nullptr, nullptr, &previousType_, previousData_.data(), &size) ==
                ERROR_SUCCESS;
    previousData_.resize(size);
}

void ScopedDefaultValue::restore() noexcept
{
    if (!applied_) return;
    applied_ = false;
    if (!firstCreatedKey_.empty()) {
        RegDeleteTreeW(root_, firstCreatedKey_.c_str());
        return;
    }
    RegKey key;
    if (RegOpenKeyExW(root_, subKey_.c_str(), 0, KEY_SET_VALUE, key.receive()) != ERROR_SUCCESS) return;
    if (hadValue_) {
        RegSetValueExW(key.get(), nullptr, 0, previousType_, previousData_.data(),
                       static_cast<DWORD>(previousData_.size()));
    } else {
        RegDeleteValueW(key.get(), nullptr);
    }
}

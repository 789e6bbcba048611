#include "tests/support/registry_reading.h"

#include "base/win32_handles.h"

std::optional<std::wstring> defaultValueOf(HKEY root, const std::wstring& subKey)
{
    return textValueOf(root, subKey, nullptr);
}

std::optional<std::wstring> textValueOf(HKEY root, const std::wstring& subKey, const wchar_t* name, DWORD flags)
{
    DWORD bytes = 0;
    flags |= RRF_RT_REG_SZ;
    if (RegGetValueW(root, subKey.c_str(), name, flags, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(root, subKey.c_str(), name, flags, nullptr, &value[0], &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    value.resize(wcslen(value.c_str()));
    return value;
}

std::vector<std::wstring> subkeyNames(HKEY root, const std::wstring& subKey)
{
    std::vector<std::wstring> names;
    RegKey key;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS) return names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        const LONG result = RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result == ERROR_SUCCESS) names.emplace_back(name, length);
    }
    return names;
}

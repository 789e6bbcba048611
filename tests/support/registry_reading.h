#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The default value of a key as text; nothing when the key or value is missing.
std::optional<std::wstring> defaultValueOf(HKEY root, const std::wstring& subKey);
// The same for a named value (null: the default one); flags may pick a
// registry view (RRF_SUBKEY_WOW6464KEY, RRF_SUBKEY_WOW6432KEY).
std::optional<std::wstring> textValueOf(HKEY root, const std::wstring& subKey, const wchar_t* name,
                                        DWORD flags = 0);

// The names of a key's direct subkeys; empty when the key is missing.
std::vector<std::wstring> subkeyNames(HKEY root, const std::wstring& subKey);

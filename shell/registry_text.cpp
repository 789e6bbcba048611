#include "shell/registry_text.h"

#include "base/win32_handles.h"

bool setRegistryText(HKEY key, const wchar_t* valueName, const Utf8String& text)
{
    const WideBuffer value = text.toWide();
    return RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.units()),
                          (text.charCount() + 1) * sizeof(wchar_t)) == ERROR_SUCCESS;
}

Utf8String readRegistryText(HKEY parent, const wchar_t* subKey, REGSAM view, const wchar_t* valueName, DWORD* type)
{
    RegKey key;
    if (RegOpenKeyExW(parent, subKey, 0, KEY_QUERY_VALUE | view, key.receive()) != ERROR_SUCCESS)
        return Utf8String();
    // One unit more than is offered to the call, so that a value that fills
    // the buffer without a NUL still ends in one.
    wchar_t value[MAX_PATH + 1] = {};
    DWORD bytes = MAX_PATH * sizeof(wchar_t);
    if (RegQueryValueExW(key.get(), valueName, nullptr, type, reinterpret_cast<BYTE*>(value), &bytes) !=
        ERROR_SUCCESS)
        return Utf8String();
    return Utf8String::fromWide(value, 0);
}

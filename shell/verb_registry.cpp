#include "shell/verb_registry.h"

#include <windows.h>

#include <shlwapi.h>

#include "base/module_path.h"
#include "base/win32_handles.h"
#include "i18n/translation_table.h"
#include "settings/size_list.h"
#include "settings/size_text.h"
#include "shell/verb_text.h"

static const char* const kShellPrefixes[] = {"jpegfile\\shell\\", "giffile\\shell\\", "pngfile\\shell\\"};

static void writeVerb(const Utf8String& keyPath, const Utf8String& command)
{
    RegKey key;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, keyPath.toWide().units(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, key.receive(), nullptr) != ERROR_SUCCESS)
        return;
    const WideBuffer value = command.toWide();
    RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.units()),
                   (command.charCount() + 1) * sizeof(wchar_t));
}

void registerVerbs()
{
    const Utf8String executablePath = runningExecutablePath();
    if (executablePath.charCount() == 0) return;
    for (const char* prefix : kShellPrefixes) {
        for (int32_t i = 0; i < sizeList.count(); ++i) {
            const ImageSize size = sizeList.at(i);
            const Utf8String keyPath = verbKeyPath(translate(verbKeyFormat()), Utf8String::fromAnsi(prefix),
                                                   formatSize(size.width, size.height));
            const Utf8String command = verbCommand(executablePath, size);
            // A path or command too long for the registry texts skips the verb
            // rather than writing a cut, wrong one.
            if (keyPath.charCount() == 0 || command.charCount() == 0) continue;
            writeVerb(keyPath, command);
        }
    }
}

// The default value of "<verb>\command", or empty when it cannot be read whole.
static Utf8String verbCommandOf(HKEY shellKey, const wchar_t* verbName)
{
    RegKey verbKey;
    RegKey commandKey;
    if (RegOpenKeyExW(shellKey, verbName, 0, KEY_QUERY_VALUE, verbKey.receive()) != ERROR_SUCCESS ||
        RegOpenKeyExW(verbKey.get(), L"command", 0, KEY_QUERY_VALUE, commandKey.receive()) != ERROR_SUCCESS)
        return Utf8String();
    // One unit more than is offered to the call, so that a value that fills
    // the buffer without a NUL still ends in one.
    wchar_t value[MAX_PATH + 1] = {};
    DWORD bytes = MAX_PATH * sizeof(wchar_t);
    if (RegQueryValueExW(commandKey.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &bytes) !=
        ERROR_SUCCESS)
        return Utf8String();
    return Utf8String::fromWide(value, 0);
}

// Removes the verb at an index when it is the program's; true when it went.
static bool removeIfOwn(HKEY shellKey, DWORD index, const Utf8String& executablePath)
{
    wchar_t name[MAX_PATH];
    DWORD nameLength = MAX_PATH;
    if (RegEnumKeyExW(shellKey, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    if (!isOwnVerbCommand(verbCommandOf(shellKey, name), executablePath)) return false;
    return SHDeleteKeyW(shellKey, name) == ERROR_SUCCESS;
}

static void removeOwnVerbs(const char* prefix, const Utf8String& executablePath)
{
    RegKey shellKey;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, Utf8String::fromAnsi(prefix).toWide().units(), 0, KEY_READ | DELETE,
                      shellKey.receive()) != ERROR_SUCCESS)
        return;
    DWORD count = 0;
    if (RegQueryInfoKeyW(shellKey.get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    // A removed verb moves the next one to its index, which is then looked at
    // again; indices past the end fail and are passed over.
    for (DWORD index = 0; index < count;) {
        if (!removeIfOwn(shellKey.get(), index, executablePath)) ++index;
    }
}

void unregisterVerbs()
{
    const Utf8String executablePath = runningExecutablePath();
    if (executablePath.charCount() == 0) return;
    for (const char* prefix : kShellPrefixes) removeOwnVerbs(prefix, executablePath);
}

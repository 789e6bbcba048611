#include "shell/verb_registry.h"

#include <windows.h>

#include <shlwapi.h>

#include "base/module_path.h"
#include "base/win32_handles.h"
#include "i18n/translation_table.h"
#include "settings/size_list.h"
#include "settings/size_text.h"
#include "shell/drop_target_registry.h"
#include "shell/registry_text.h"
#include "shell/verb_text.h"

struct ShellKey {
    const char* prefix;
    // Verbs are written here; the other keys are only cleaned.
    bool current;
};

// Explorer folds the verbs under SystemFileAssociations into a file's menu
// whatever program the type opens with; a ProgID such as jpegfile is shown
// only while it is the type's current one, which on Windows 10 and 11 it
// seldom is. Earlier versions wrote there: their verbs go, so that no item
// shows twice where those ProgIDs are still current.
static const ShellKey kShellKeys[] = {
    {"SystemFileAssociations\\.jpg\\shell\\", true},  {"SystemFileAssociations\\.jpeg\\shell\\", true},
    {"SystemFileAssociations\\.jpe\\shell\\", true},  {"SystemFileAssociations\\.jfif\\shell\\", true},
    {"SystemFileAssociations\\.png\\shell\\", true},  {"SystemFileAssociations\\.gif\\shell\\", true},
    {"jpegfile\\shell\\", false},                      {"giffile\\shell\\", false},
    {"pngfile\\shell\\", false},
};

static bool writeText(const Utf8String& keyPath, const wchar_t* valueName, const Utf8String& text)
{
    RegKey key;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, keyPath.toWide().units(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, key.receive(), nullptr) != ERROR_SUCCESS)
        return false;
    return setRegistryText(key.get(), valueName, text);
}

static bool writeVerb(const Utf8String& commandKeyPath, const Utf8String& command, const Utf8String& icon)
{
    return writeText(commandKeyPath, nullptr, command) && writeText(verbKeyOf(commandKeyPath), L"Icon", icon);
}

bool registerVerbs()
{
    const Utf8String executablePath = runningExecutablePath();
    const Utf8String icon = verbIcon(executablePath);
    // Without a usable path no verb can be written; an empty list needs none.
    if (executablePath.charCount() == 0 || icon.charCount() == 0) return sizeList.count() == 0;
    bool allWritten = true;
    for (const ShellKey& shellKey : kShellKeys) {
        if (!shellKey.current) continue;
        for (int32_t i = 0; i < sizeList.count(); ++i) {
            const ImageSize size = sizeList.at(i);
            const Utf8String keyPath = verbKeyPath(translate(verbKeyFormat()), Utf8String::fromAnsi(shellKey.prefix),
                                                   formatSize(size.width, size.height));
            const Utf8String command = verbCommand(executablePath, size);
            // A path or command too long for the registry texts skips the verb
            // rather than writing a cut, wrong one; it counts as not written.
            const bool written = keyPath.charCount() > 0 && command.charCount() > 0 &&
                                 writeVerb(keyPath, command, icon) &&
                                 registerDropTarget(keyPath, size, executablePath);
            allWritten = allWritten && written;
        }
    }
    return allWritten;
}

// The default value of "<verb>\command", or empty when it cannot be read whole.
static Utf8String verbCommandOf(HKEY shellKey, const wchar_t* verbName)
{
    const Utf8String commandKey =
        Utf8String::concat(Utf8String::fromWide(verbName, 0), Utf8String::fromAnsi("\\command"));
    return readRegistryText(shellKey, commandKey.toWide().units(), 0, nullptr);
}

enum class VerbRemoval { NotOwn, Removed, Failed };

// Removes the verb at an index when it is the program's.
static VerbRemoval removeIfOwn(HKEY shellKey, DWORD index, const Utf8String& executablePath)
{
    wchar_t name[MAX_PATH];
    DWORD nameLength = MAX_PATH;
    if (RegEnumKeyExW(shellKey, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return VerbRemoval::NotOwn;
    if (!isOwnVerbCommand(verbCommandOf(shellKey, name), executablePath)) return VerbRemoval::NotOwn;
    // The verb is the only way to its class: it stays while its class does,
    // so that a later run can still remove both.
    if (!removeOwnDropTargetClass(shellKey, name, executablePath)) return VerbRemoval::Failed;
    return SHDeleteKeyW(shellKey, name) == ERROR_SUCCESS ? VerbRemoval::Removed : VerbRemoval::Failed;
}

// False when one of the program's verbs stays, or the key could not be looked into.
static bool removeOwnVerbs(const char* prefix, const Utf8String& executablePath)
{
    RegKey shellKey;
    // The deletion opens each verb key itself: the shell key is only read,
    // which every user may, so that a key without the program's verbs
    // never counts as a failure.
    const LSTATUS opened = RegOpenKeyExW(HKEY_CLASSES_ROOT, Utf8String::fromAnsi(prefix).toWide().units(), 0,
                                         KEY_READ, shellKey.receive());
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    DWORD count = 0;
    if (RegQueryInfoKeyW(shellKey.get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    bool allRemoved = true;
    // A removed verb moves the next one to its index, which is then looked at
    // again; indices past the end fail and are passed over.
    for (DWORD index = 0; index < count;) {
        const VerbRemoval removal = removeIfOwn(shellKey.get(), index, executablePath);
        if (removal != VerbRemoval::Removed) ++index;
        if (removal == VerbRemoval::Failed) allRemoved = false;
    }
    return allRemoved;
}

bool unregisterVerbs()
{
    const Utf8String executablePath = runningExecutablePath();
    if (executablePath.charCount() == 0) return false;
    bool allRemoved = true;
    for (const ShellKey& shellKey : kShellKeys)
        allRemoved = removeOwnVerbs(shellKey.prefix, executablePath) && allRemoved;
    return allRemoved;
}

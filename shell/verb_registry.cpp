#include "shell/verb_registry.h"

#include <windows.h>

#include <shlwapi.h>

#include <cwchar>
#include <vector>

#include "base/module_path.h"
#include "base/win32_handles.h"
#include "i18n/preset_description.h"
#include "i18n/translation_table.h"
#include "settings/size_list.h"
#include "shell/drop_target_registry.h"
#include "shell/installed_extensions.h"
#include "shell/registration_scope.h"
#include "shell/registry_text.h"
#include "shell/verb_text.h"

// Explorer folds the verbs under SystemFileAssociations\<ext> into a file's
// menu whatever program the type opens with.
static const wchar_t kTypesKey[] = L"SystemFileAssociations";

// A ProgID such as jpegfile is shown only while it is the type's current
// one, which on Windows 10 and 11 it seldom is. Earlier versions wrote
// there: their verbs go, so that no item shows twice where those ProgIDs are
// still current.
static const wchar_t* const kOldShellKeys[] = {L"jpegfile\\shell", L"giffile\\shell", L"pngfile\\shell"};

// "<ext>\shell\", where an extension's verbs go below the types' key.
static Utf8String shellPrefixOf(const Utf8String& extension)
{
    Utf8String prefix = extension;
    prefix.append(Utf8String::fromAnsi("\\shell\\"));
    return prefix;
}

static bool writeText(HKEY types, const Utf8String& keyPath, const wchar_t* valueName, const Utf8String& text)
{
    RegKey key;
    if (RegCreateKeyExW(types, keyPath.toWide().units(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, key.receive(), nullptr) != ERROR_SUCCESS)
        return false;
    return setRegistryText(key.get(), valueName, text);
}

static bool writeVerb(HKEY types, const Utf8String& commandKeyPath, const Utf8String& command,
                      const Utf8String& icon)
{
    return writeText(types, commandKeyPath, nullptr, command) &&
           writeText(types, verbKeyOf(commandKeyPath), L"Icon", icon);
}

bool registerVerbs()
{
    const Utf8String executablePath = runningExecutablePath();
    const Utf8String icon = verbIcon(executablePath);
    // Without a usable path no verb can be written; an empty list needs none.
    if (executablePath.charCount() == 0 || icon.charCount() == 0) return sizeList.count() == 0;
    // The extensions are those of the codecs installed now, so that saving
    // the list again gives a newly installed codec's pictures the verbs.
    const std::vector<Utf8String> extensions = installedPictureExtensions();
    if (extensions.empty()) return sizeList.count() == 0;
    if (sizeList.count() == 0) return true;
    // Straight to the scope's own classes: HKEY_CLASSES_ROOT would put them
    // wherever the merged view finds a key first. The types' key is asked
    // for the right to add keys, so that a scope the user may not write
    // fails here, before anything is written.
    const HKEY root = scopeRoot(registrationScope());
    RegKey types;
    const Utf8String typesPath = Utf8String::concat(Utf8String::fromWide(kClassesPath, 0),
                                                    Utf8String::concat(Utf8String::fromAnsi("\\"),
                                                                       Utf8String::fromWide(kTypesKey, 0)));
    if (RegCreateKeyExW(root, typesPath.toWide().units(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_CREATE_SUB_KEY,
                        nullptr, types.receive(), nullptr) != ERROR_SUCCESS)
        return false;
    bool allWritten = true;
    for (const Utf8String& extension : extensions) {
        const Utf8String shellPrefix = shellPrefixOf(extension);
        for (int32_t i = 0; i < sizeList.count(); ++i) {
            const Preset preset = sizeList.at(i);
            const Utf8String keyPath = verbKeyPath(translate(verbKeyFormat()), shellPrefix, verbPresetText(preset));
            const Utf8String command = verbCommand(executablePath, preset);
            // A path or command too long for the registry texts skips the verb
            // rather than writing a cut, wrong one; it counts as not written.
            const bool written = keyPath.charCount() > 0 && command.charCount() > 0 &&
                                 writeVerb(types.get(), keyPath, command, icon) &&
                                 registerDropTarget(root, types.get(), keyPath, preset, executablePath);
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
static VerbRemoval removeIfOwn(HKEY root, HKEY shellKey, DWORD index, const Utf8String& executablePath)
{
    wchar_t name[MAX_PATH];
    DWORD nameLength = MAX_PATH;
    if (RegEnumKeyExW(shellKey, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return VerbRemoval::NotOwn;
    if (!isOwnVerbCommand(verbCommandOf(shellKey, name), executablePath)) return VerbRemoval::NotOwn;
    // The verb is the only way to its class: it stays while its class does,
    // so that a later run can still remove both.
    if (!removeOwnDropTargetClass(root, shellKey, name, executablePath)) return VerbRemoval::Failed;
    return SHDeleteKeyW(shellKey, name) == ERROR_SUCCESS ? VerbRemoval::Removed : VerbRemoval::Failed;
}

// Removes the program's verbs from parent\shellPath. False when one of them
// stays, or the key could not be looked into.
static bool removeOwnVerbs(HKEY root, HKEY parent, const wchar_t* shellPath, const Utf8String& executablePath)
{
    RegKey shellKey;
    // The deletion opens each verb key itself: the shell key is only read,
    // which every user may, so that a key without the program's verbs
    // never counts as a failure.
    const LSTATUS opened = RegOpenKeyExW(parent, shellPath, 0, KEY_READ, shellKey.receive());
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
        const VerbRemoval removal = removeIfOwn(root, shellKey.get(), index, executablePath);
        if (removal != VerbRemoval::Removed) ++index;
        if (removal == VerbRemoval::Failed) allRemoved = false;
    }
    return allRemoved;
}

// Looks under every extension's key, not only under those that codecs list
// now: the verbs of a type whose codec has gone since go too.
static bool removeOwnVerbsOfEveryType(HKEY root, HKEY classes, const Utf8String& executablePath)
{
    RegKey types;
    const LSTATUS opened = RegOpenKeyExW(classes, kTypesKey, 0, KEY_READ, types.receive());
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    DWORD count = 0;
    if (RegQueryInfoKeyW(types.get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    bool allRemoved = true;
    // Only keys below each type's key are deleted, so the types keep their indices.
    for (DWORD index = 0; index < count; ++index) {
        // The type's name, at most 255 units, then "\shell" and the NUL.
        wchar_t shellPath[255 + 7];
        DWORD typeLength = 256;
        if (RegEnumKeyExW(types.get(), index, shellPath, &typeLength, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS ||
            shellPath[0] != L'.')
            continue;
        std::wcscpy(shellPath + typeLength, L"\\shell");
        allRemoved = removeOwnVerbs(root, types.get(), shellPath, executablePath) && allRemoved;
    }
    return allRemoved;
}

// Only reads until it finds one of the program's verbs, so that a scope the
// user may not write (the machine's, for a user's copy) fails only when it
// holds the program's keys and they stay.
static bool removeOwnVerbsOfScope(RegistrationScope scope, const Utf8String& executablePath)
{
    const HKEY root = scopeRoot(scope);
    RegKey classes;
    const LSTATUS opened = RegOpenKeyExW(root, kClassesPath, 0, KEY_READ, classes.receive());
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    bool allRemoved = removeOwnVerbsOfEveryType(root, classes.get(), executablePath);
    for (const wchar_t* shellPath : kOldShellKeys)
        allRemoved = removeOwnVerbs(root, classes.get(), shellPath, executablePath) && allRemoved;
    return allRemoved;
}

bool unregisterVerbs()
{
    const Utf8String executablePath = runningExecutablePath();
    if (executablePath.charCount() == 0) return false;
    // Both scopes: an older release wrote the machine's classes from
    // anywhere, and a copy moved in or out of Program Files changes its own.
    const RegistrationScope scope = registrationScope();
    const bool ownRemoved = removeOwnVerbsOfScope(scope, executablePath);
    return removeOwnVerbsOfScope(otherScope(scope), executablePath) && ownRemoved;
}

#include "shell/drop_target_registry.h"

#include "base/win32_handles.h"
#include "shell/registry_text.h"
#include "shell/server_class.h"
#include "shell/verb_text.h"

// The classes live beside the verbs, in the machine's or the user's classes.
// A 32-bit program's Software\Classes\CLSID is the 32-bit view, while
// 64-bit Explorer activates from the 64-bit one: both views get the class
// (on 32-bit Windows both flags are ignored and name the one view).
static const wchar_t kClassesKey[] = L"Software\\Classes\\CLSID";
static const REGSAM kRegistryViews[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};

// "Software\Classes\CLSID\{id}", the class's key below the scope's root.
static Utf8String classKeyPath(const Utf8String& classId)
{
    Utf8String path = Utf8String::fromWide(kClassesKey, 0);
    path.append(Utf8String::fromAnsi("\\"));
    path.append(classId);
    return path;
}

static bool setSubkeyText(HKEY parent, const wchar_t* subKey, REGSAM view, const wchar_t* name,
                          const Utf8String& text)
{
    RegKey key;
    if (RegCreateKeyExW(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | view, nullptr,
                        key.receive(), nullptr) != ERROR_SUCCESS)
        return false;
    return setRegistryText(key.get(), name, text);
}

static bool writeServerClass(HKEY root, const Utf8String& classId, const Preset& preset,
                             const Utf8String& executablePath)
{
    const Utf8String command = serverCommand(executablePath, preset);
    if (command.charCount() == 0) return false;
    const Utf8String classKey = classKeyPath(classId);
    const Utf8String serverKey = Utf8String::concat(classKey, Utf8String::fromAnsi("\\LocalServer32"));
    bool written = true;
    for (const REGSAM view : kRegistryViews) {
        written = setSubkeyText(root, classKey.toWide().units(), view, nullptr,
                                Utf8String::fromAnsi("Pellavo picture resizer")) &&
                  setSubkeyText(root, serverKey.toWide().units(), view, nullptr, command) && written;
    }
    return written;
}

bool registerDropTarget(HKEY root, HKEY parent, const Utf8String& commandKeyPath, const Preset& preset,
                        const Utf8String& executablePath)
{
    const Utf8String verbKey = verbKeyOf(commandKeyPath);
    const Utf8String classId = serverClassId(preset, root == HKEY_LOCAL_MACHINE);
    if (verbKey.charCount() == 0 || classId.charCount() == 0) return false;
    if (!writeServerClass(root, classId, preset, executablePath)) return false;

    RegKey verb;
    if (RegOpenKeyExW(parent, verbKey.toWide().units(), 0, KEY_SET_VALUE, verb.receive()) !=
        ERROR_SUCCESS)
        return false;
    // COM verbs under "Player" take a selection of any size.
    return setRegistryText(verb.get(), L"MultiSelectModel", Utf8String::fromAnsi("Player")) &&
           setSubkeyText(verb.get(), L"DropTarget", 0, L"Clsid", classId);
}

// A REG_SZ text, or empty when it is missing, of another type or too long.
static Utf8String readStringValue(HKEY parent, const wchar_t* subKey, REGSAM view, const wchar_t* name)
{
    DWORD type = REG_NONE;
    const Utf8String text = readRegistryText(parent, subKey, view, name, &type);
    return type == REG_SZ ? text : Utf8String();
}

// Removes the class from one registry view when this executable serves it
// there. Every step carries the view: a key opened in one view does not pass
// it on to the keys below it, so a 32-bit process could otherwise read or
// delete the other view's class. False when the class stays.
static bool removeOwnClassInView(HKEY root, const WideBuffer& classKey, REGSAM view, const Utf8String& executablePath)
{
    RegKey key;
    const LSTATUS opened = RegOpenKeyExW(root, classKey.units(), 0,
                                         KEY_READ | KEY_SET_VALUE | DELETE | view, key.receive());
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    if (!isOwnVerbCommand(readStringValue(key.get(), L"LocalServer32", view, nullptr), executablePath)) return true;
    const bool emptied = RegDeleteTreeW(key.get(), nullptr) == ERROR_SUCCESS;
    key.reset();
    return emptied && RegDeleteKeyExW(root, classKey.units(), view, 0) == ERROR_SUCCESS;
}

bool removeOwnDropTargetClass(HKEY root, HKEY shellKey, const wchar_t* verbName, const Utf8String& executablePath)
{
    const Utf8String dropTarget =
        Utf8String::concat(Utf8String::fromWide(verbName, 0), Utf8String::fromAnsi("\\DropTarget"));
    const Utf8String classId = readStringValue(shellKey, dropTarget.toWide().units(), 0, L"Clsid");
    // Only a well-formed id of the program's own is ever used as a key name.
    Preset preset;
    if (!parseServerClassId(classId, preset)) return true;
    const WideBuffer classKey = classKeyPath(classId).toWide();
    bool removed = true;
    for (const REGSAM view : kRegistryViews)
        removed = removeOwnClassInView(root, classKey, view, executablePath) && removed;
    return removed;
}

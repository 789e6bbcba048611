#pragma once

#include <windows.h>

#include "settings/preset.h"
#include "text/utf8_string.h"

// Gives a verb (its "...\command" key path below the key "parent") the
// COM route as well: a DropTarget naming the preset's class, no cap on the
// selection, and the class itself below root's "Software\Classes\CLSID",
// served by this executable. False when any of it could not be written.
bool registerDropTarget(HKEY root, HKEY parent, const Utf8String& commandKeyPath, const Preset& preset,
                        const Utf8String& executablePath);

// Removes the class that the verb's DropTarget names from both registry
// views below root, where it is one of the program's and this executable
// serves it; called before the verb goes. False when such a class stays; a
// class that is missing, or another's, is no failure.
bool removeOwnDropTargetClass(HKEY root, HKEY shellKey, const wchar_t* verbName, const Utf8String& executablePath);

#pragma once

#include "text/utf8_string.h"

// "settings.txt" beside the running executable; empty when that is unknown.
Utf8String settingsFilePath();

// What a read of the settings file found. Only a list that was read may be
// saved over the file: otherwise the list is unchanged, and saving it would
// drop the user's sizes.
enum class SettingsLoad {
    // The file's sizes are in the list; a missing or blank file holds none.
    Read,
    // The file is there but cannot be opened or read (held by another
    // program, no rights).
    CannotBeRead,
    // The file holds text but no size: no list of sizes, or in an encoding
    // that is not known.
    HoldsNoSize,
};

// Adds the sizes of the settings file to the size list.
SettingsLoad loadSettings();

// What a save got done.
struct SaveResult {
    bool listWritten = false;
    bool verbsWritten = false;
};

// Writes the size list to the settings file, then registers the verbs anew
// from the list in memory, whether or not the file could be written.
SaveResult saveSettings();

// Copies the settings file over "settings.txt.bak" beside it, so that its
// bytes stay when a file that holds no size is replaced; false when no copy
// could be made.
bool backUpSettings();

SettingsLoad readSettingsFile(const Utf8String& path);
SaveResult writeSettingsFile(const Utf8String& path);

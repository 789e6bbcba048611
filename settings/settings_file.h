#pragma once

#include <vector>

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

// Adds the presets of the settings file to the size list; the words of the
// file that are no option words, which the list leaves out, go to
// droppedWords when it is given.
SettingsLoad loadSettings(std::vector<Utf8String>* droppedWords = nullptr);

// What a save got done.
struct SaveResult {
    bool listWritten = false;
    bool verbsWritten = false;
};

// Writes the size list to the settings file, then registers the verbs anew
// from the list in memory, whether or not the file could be written.
SaveResult saveSettings();

// Copies the settings file beside it under the first free name of
// "settings.txt.bak", "settings.txt.1.bak" ..., so that its bytes stay when a
// file that holds no size is replaced, and no earlier backup is ever replaced
// by a later one. Gives the name used, or the one last tried when no copy
// could be made (false).
bool backUpSettings(Utf8String& backup);
// The name the next backup takes, as the folder is now.
Utf8String nextSettingsBackup();

SettingsLoad readSettingsFile(const Utf8String& path, std::vector<Utf8String>* droppedWords = nullptr);
SaveResult writeSettingsFile(const Utf8String& path);

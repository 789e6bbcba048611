#pragma once

#include "text/utf8_string.h"

// "settings.txt" beside the running executable; empty when that is unknown.
Utf8String settingsFilePath();

// Adds the sizes of the settings file to the size list. False when the file
// is there but cannot be opened or read (held by another program, no
// rights): the list is then unchanged and must not be saved over the file.
// A missing file is an empty list.
bool loadSettings();

// What a save got done.
struct SaveResult {
    bool listWritten = false;
    bool verbsWritten = false;
};

// Writes the size list to the settings file, then registers the verbs anew
// from the list in memory, whether or not the file could be written.
SaveResult saveSettings();

bool readSettingsFile(const Utf8String& path);
SaveResult writeSettingsFile(const Utf8String& path);

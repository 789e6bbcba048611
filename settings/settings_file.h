#pragma once

#include "text/utf8_string.h"

// "settings.txt" beside the running executable; empty when that is unknown.
Utf8String settingsFilePath();

// Adds the sizes of the settings file to the size list.
void loadSettings();

// What a save got done.
struct SaveResult {
    bool listWritten = false;
    bool verbsWritten = false;
};

// Writes the size list to the settings file, then registers the verbs anew
// from the list in memory, whether or not the file could be written.
SaveResult saveSettings();

void readSettingsFile(const Utf8String& path);
SaveResult writeSettingsFile(const Utf8String& path);

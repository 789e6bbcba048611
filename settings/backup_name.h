#pragma once

#include <cstdint>

#include "text/utf8_string.h"

// The names a file's backups take in turn: "settings.txt.bak", then
// "settings.txt.1.bak", "settings.txt.2.bak" ..., the number before ".bak"
// so that every one still opens as a backup.
Utf8String backupName(const Utf8String& file, int32_t counter);

#pragma once

#include "text/utf8_string.h"

// Replaces the translation table with the file's entries; a file that
// cannot be opened leaves the table as it was.
void loadTranslationFile(const Utf8String& path);

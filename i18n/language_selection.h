#pragma once

#include "text/utf8_string.h"

// Makes "RUS" or "EN" the current language by copying its file from "local"
// over current_translate.txt beside the executable; other codes do nothing.
// The table is reloaded by loadCurrentTranslation, not here. False when the
// language's file could not be made current.
bool selectLanguage(const Utf8String& code);

// Loads current_translate.txt beside the executable into the table.
void loadCurrentTranslation();

#include "i18n/language_selection.h"

#include <windows.h>

#include "base/module_path.h"
#include "i18n/translation_file.h"

static const char kCurrentTranslation[] = "current_translate.txt";

static const char* sourceFileFor(const Utf8String& code)
{
    if (code.compare(Utf8String::fromAnsi("RUS"), false) == 0) return "local\\rus_translate.txt";
    if (code.compare(Utf8String::fromAnsi("EN"), false) == 0) return "local\\en_translate.txt";
    return nullptr;
}

bool selectLanguage(const Utf8String& code)
{
    const char* source = sourceFileFor(code);
    if (!source) return false;
    const Utf8String from = fileBesideExecutable(source);
    const Utf8String to = fileBesideExecutable(kCurrentTranslation);
    if (from.charCount() == 0 || to.charCount() == 0) return false;
    // A failed copy keeps the current file, and with it the current language.
    return CopyFileW(from.toWide().units(), to.toWide().units(), FALSE) != 0;
}

void loadCurrentTranslation()
{
    const Utf8String path = fileBesideExecutable(kCurrentTranslation);
    if (path.charCount() == 0) return;
    loadTranslationFile(path);
}

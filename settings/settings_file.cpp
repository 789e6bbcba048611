#include "settings/settings_file.h"

#include <windows.h>

#include <string>

#include "base/module_path.h"
#include "base/win32_handles.h"
#include "settings/backup_name.h"
#include "settings/settings_tokens.h"
#include "settings/size_list.h"
#include "shell/verb_registry.h"

static const char kSettingsName[] = "settings.txt";

Utf8String settingsFilePath()
{
    return fileBesideExecutable(kSettingsName);
}

SettingsLoad loadSettings(std::vector<Utf8String>* droppedWords)
{
    return readSettingsFile(settingsFilePath(), droppedWords);
}

SaveResult saveSettings()
{
    return writeSettingsFile(settingsFilePath());
}

bool backUpSettings(Utf8String& backup)
{
    const Utf8String name = Utf8String::fromAnsi(kSettingsName);
    const Utf8String path = settingsFilePath();
    backup = backupName(name, 0);
    if (path.charCount() == 0) return false;
    const WideBuffer source = path.toWide();
    for (int32_t counter = 0; counter < INT32_MAX; ++counter) {
        backup = backupName(name, counter);
        if (CopyFileW(source.units(), backupName(path, counter).toWide().units(), TRUE)) return true;
        // Only a name that is taken, by an earlier backup or anything else,
        // is worth the next one.
        if (GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

Utf8String nextSettingsBackup()
{
    const Utf8String path = settingsFilePath();
    int32_t counter = 0;
    while (path.charCount() > 0 && counter < INT32_MAX &&
           GetFileAttributesW(backupName(path, counter).toWide().units()) != INVALID_FILE_ATTRIBUTES)
        ++counter;
    return backupName(Utf8String::fromAnsi(kSettingsName), counter);
}

SettingsLoad readSettingsFile(const Utf8String& path, std::vector<Utf8String>* droppedWords)
{
    if (path.charCount() == 0) return SettingsLoad::CannotBeRead;
    const FileHandle file(CreateFileW(path.toWide().units(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? SettingsLoad::Read
                                                                               : SettingsLoad::CannotBeRead;
    }
    // Gathered apart, so that a read that fails half way adds nothing.
    SettingsPresets found;
    SettingsTokenizer tokenizer([&found](const Utf8String& token) { found.token(token); },
                                [&found] { found.lineEnd(); });
    char chunk[4096];
    DWORD read = 0;
    do {
        if (!ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) return SettingsLoad::CannotBeRead;
        tokenizer.feed(chunk, read);
    } while (read > 0);
    tokenizer.finish();
    if (found.list().count() == 0 && tokenizer.heldText()) return SettingsLoad::HoldsNoSize;
    for (int32_t i = 0; i < found.list().count(); ++i) sizeList.add(found.list().at(i));
    if (droppedWords) *droppedWords = found.droppedWords();
    return SettingsLoad::Read;
}

// The whole text goes to a file beside the target, which replaces the target
// only once it is complete: a failed write never costs the user the old list.
static bool replaceFileWith(const Utf8String& path, const std::string& text)
{
    const Utf8String temporaryPath = Utf8String::concat(path, Utf8String::fromAnsi(".new"));
    const WideBuffer temporary = temporaryPath.toWide();
    bool written = false;
    {
        const FileHandle file(CreateFileW(temporary.units(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        DWORD done = 0;
        written = WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &done, nullptr) &&
                  done == text.size() && FlushFileBuffers(file.get());
    }
    if (written && MoveFileExW(temporary.units(), path.toWide().units(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.units());
    return false;
}

SaveResult writeSettingsFile(const Utf8String& path)
{
    SaveResult result;
    result.listWritten = path.charCount() > 0 && replaceFileWith(path, settingsText(sizeList));
    const bool removed = unregisterVerbs();
    result.verbsWritten = registerVerbs() && removed;
    return result;
}

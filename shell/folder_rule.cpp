#include "shell/folder_rule.h"

bool isUnderFolder(const Utf8String& path, const Utf8String& folder)
{
    const Utf8String backslash = Utf8String::fromAnsi("\\");
    uint32_t folderLength = folder.charCount();
    while (folderLength > 0 && folder.mid(folderLength - 1, 1).compare(backslash, false) == 0) --folderLength;
    // An empty folder (or a bare "\") would take in every path.
    if (folderLength == 0 || path.charCount() <= folderLength + 1) return false;
    if (path.mid(0, folderLength).compare(folder.mid(0, folderLength), true) != 0) return false;
    return path.mid(folderLength, 1).compare(backslash, false) == 0;
}

bool isUnderAnyFolder(const Utf8String& path, const std::vector<Utf8String>& folders)
{
    for (const Utf8String& folder : folders) {
        if (isUnderFolder(path, folder)) return true;
    }
    return false;
}

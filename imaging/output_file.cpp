#include "imaging/output_file.h"

#include <windows.h>

#include <cstdint>

#include "base/win32_handles.h"
#include "imaging/resize_arguments.h"

static bool nameIsTaken(const Utf8String& name)
{
    return GetFileAttributesW(name.toWide().units()) != INVALID_FILE_ATTRIBUTES;
}

bool claimOutputFile(const Utf8String& baseName, const ImageSize& size, const Utf8String& extension,
                     Utf8String& claimed)
{
    for (int32_t counter = 0; counter < INT32_MAX; ++counter) {
        const Utf8String candidate = outputName(baseName, size, counter, extension);
        if (nameIsTaken(candidate)) continue;
        const FileHandle file(CreateFileW(candidate.toWide().units(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            claimed = candidate;
            return true;
        }
        // Taken between the look and the creation: try the next name. Any
        // other failure (no such folder, no right to write) ends the search.
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

#include "settings/executable_directory.h"

Utf8String executableDirectory(const Utf8String& executablePath)
{
    const Utf8String backslash = Utf8String::fromAnsi("\\");
    int32_t last = -1;
    for (int32_t found = executablePath.find(backslash, 0, false); found >= 0;
         found = executablePath.find(backslash, static_cast<uint32_t>(found) + 1, false))
        last = found;
    return last < 0 ? Utf8String() : executablePath.mid(0, static_cast<uint32_t>(last) + 1);
}

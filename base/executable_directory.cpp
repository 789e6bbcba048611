#include "base/executable_directory.h"

#include "text/find_last.h"

Utf8String executableDirectory(const Utf8String& executablePath)
{
    const int32_t last = findLast(executablePath, Utf8String::fromAnsi("\\"));
    return last < 0 ? Utf8String() : executablePath.mid(0, static_cast<uint32_t>(last) + 1);
}

#include "settings/backup_name.h"

Utf8String backupName(const Utf8String& file, int32_t counter)
{
    Utf8String name = file;
    if (counter > 0) {
        name.append(Utf8String::fromAnsi("."));
        name.append(Utf8String::fromInt(counter));
    }
    name.append(Utf8String::fromAnsi(".bak"));
    return name;
}

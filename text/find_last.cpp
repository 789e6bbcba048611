#include "text/find_last.h"

int32_t findLast(const Utf8String& text, const Utf8String& needle)
{
    int32_t last = -1;
    for (int32_t found = text.find(needle, 0, false); found >= 0;
         found = text.find(needle, static_cast<uint32_t>(found) + 1, false))
        last = found;
    return last;
}

#include "batch/progress_text.h"

#include "text/number_format.h"

Utf8String progressTextKey()
{
    return Utf8String::fromAnsi("Resizing %d of %d...");
}

Utf8String progressText(const Utf8String& format, uint32_t current, uint32_t total)
{
    return formatNumbers(format, progressTextKey(), {current, total});
}

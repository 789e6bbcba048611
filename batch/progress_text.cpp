#include "batch/progress_text.h"

#include <string>

Utf8String progressTextKey()
{
    return Utf8String::fromAnsi("Resizing %d of %d...");
}

static int32_t conversionCount(const Utf8String& format, const Utf8String& conversion)
{
    int32_t count = 0;
    for (int32_t at = format.find(conversion, 0, false); at >= 0;
         at = format.find(conversion, static_cast<uint32_t>(at) + conversion.charCount(), false))
        ++count;
    return count;
}

Utf8String progressText(const Utf8String& format, uint32_t current, uint32_t total)
{
    const Utf8String conversion = Utf8String::fromAnsi("%d");
    const Utf8String usable = conversionCount(format, conversion) == 2 ? format : progressTextKey();
    const auto first = static_cast<uint32_t>(usable.find(conversion, 0, false));
    const auto second = static_cast<uint32_t>(usable.find(conversion, first + 2, false));
    Utf8String text = usable.mid(0, first);
    text.append(Utf8String::fromAnsi(std::to_string(current).c_str()));
    text.append(usable.mid(first + 2, second - first - 2));
    text.append(Utf8String::fromAnsi(std::to_string(total).c_str()));
    text.append(usable.mid(second + 2, Utf8String::kRestOfText));
    return text;
}

#include "text/number_format.h"

#include <string>
#include <vector>

constexpr uint32_t kConversionLength = 2;

static size_t conversionCount(const Utf8String& format, const Utf8String& conversion)
{
    size_t count = 0;
    for (int32_t at = format.find(conversion, 0, false); at >= 0;
         at = format.find(conversion, static_cast<uint32_t>(at) + kConversionLength, false))
        ++count;
    return count;
}

// The values go in once, never read again as a format, so a "%d" or "%s"
// in a file name stays as it is.
static Utf8String substitute(const Utf8String& format, const Utf8String& english, const char* conversionText,
                             const std::vector<Utf8String>& values)
{
    const Utf8String conversion = Utf8String::fromAnsi(conversionText);
    const Utf8String& usable = conversionCount(format, conversion) == values.size() ? format : english;
    Utf8String text;
    uint32_t from = 0;
    for (const Utf8String& value : values) {
        const int32_t at = usable.find(conversion, from, false);
        if (at < 0) break;
        text.append(usable.mid(from, static_cast<uint32_t>(at) - from));
        text.append(value);
        from = static_cast<uint32_t>(at) + kConversionLength;
    }
    text.append(usable.mid(from, Utf8String::kRestOfText));
    return text;
}

Utf8String formatNumbers(const Utf8String& format, const Utf8String& english, std::initializer_list<uint32_t> numbers)
{
    std::vector<Utf8String> values;
    for (const uint32_t number : numbers) values.push_back(Utf8String::fromAnsi(std::to_string(number).c_str()));
    return substitute(format, english, "%d", values);
}

Utf8String formatTexts(const Utf8String& format, const Utf8String& english, std::initializer_list<Utf8String> texts)
{
    return substitute(format, english, "%s", texts);
}

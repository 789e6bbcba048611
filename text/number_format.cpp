#include "text/number_format.h"

#include <string>

static const char kConversion[] = "%d";
constexpr uint32_t kConversionLength = 2;

static size_t conversionCount(const Utf8String& format)
{
    const Utf8String conversion = Utf8String::fromAnsi(kConversion);
    size_t count = 0;
    for (int32_t at = format.find(conversion, 0, false); at >= 0;
         at = format.find(conversion, static_cast<uint32_t>(at) + kConversionLength, false))
        ++count;
    return count;
}

Utf8String formatNumbers(const Utf8String& format, const Utf8String& english, std::initializer_list<uint32_t> numbers)
{
    const Utf8String conversion = Utf8String::fromAnsi(kConversion);
    const Utf8String& usable = conversionCount(format) == numbers.size() ? format : english;
    Utf8String text;
    uint32_t from = 0;
    for (const uint32_t number : numbers) {
        const int32_t at = usable.find(conversion, from, false);
        if (at < 0) break;
        text.append(usable.mid(from, static_cast<uint32_t>(at) - from));
        text.append(Utf8String::fromAnsi(std::to_string(number).c_str()));
        from = static_cast<uint32_t>(at) + kConversionLength;
    }
    text.append(usable.mid(from, Utf8String::kRestOfText));
    return text;
}

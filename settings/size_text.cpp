#include "settings/size_text.h"

bool parseSize(const Utf8String& text, ImageSize& size)
{
    size = ImageSize();
    const int32_t separator = text.find(Utf8String::fromAnsi("x"), 0, false);
    if (separator <= 0) return false;
    const int32_t width = text.mid(0, static_cast<uint32_t>(separator)).toInt();
    const int32_t height = text.mid(static_cast<uint32_t>(separator) + 1, Utf8String::kRestOfText).toInt();
    if (width <= 0 || height <= 0) return false;
    size = ImageSize{width, height};
    return true;
}

Utf8String formatSize(int32_t width, int32_t height)
{
    Utf8String text = Utf8String::fromInt(width);
    text.append(Utf8String::fromAnsi("x"));
    text.append(Utf8String::fromInt(height));
    return text;
}

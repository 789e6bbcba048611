#include "shell/verb_text.h"

#include "settings/size_text.h"

Utf8String verbKeyFormat()
{
    return Utf8String::fromAnsi("%sResize %s...\\command");
}

// A character that becomes a zero UTF-16 unit (an overlong or stray byte
// sequence) would end the key path early for Win32: the key written would be
// a shorter one than "\command", even HKEY_CLASSES_ROOT itself.
static bool holdsZeroUnit(const Utf8String& text)
{
    const WideBuffer units = text.toWide();
    for (int32_t i = 0; i + 1 < units.capacity(); ++i) {
        if (units.units()[i] == 0) return true;
    }
    return false;
}

static bool isUsableFormat(const Utf8String& format)
{
    if (holdsZeroUnit(format)) return false;
    const Utf8String conversion = Utf8String::fromAnsi("%s");
    const int32_t first = format.find(conversion, 0, false);
    if (first < 0) return false;
    const int32_t second = format.find(conversion, static_cast<uint32_t>(first) + 2, false);
    if (second < 0 || format.find(conversion, static_cast<uint32_t>(second) + 2, false) >= 0) return false;
    const Utf8String tail = Utf8String::fromAnsi("\\command");
    if (format.charCount() < tail.charCount()) return false;
    return format.mid(format.charCount() - tail.charCount(), Utf8String::kRestOfText).compare(tail, false) == 0;
}

static Utf8String fitting(const Utf8String& text)
{
    return text.charCount() <= kMaxRegistryText ? text : Utf8String();
}

Utf8String verbKeyPath(const Utf8String& format, const Utf8String& shellPrefix, const Utf8String& sizeText)
{
    const Utf8String conversion = Utf8String::fromAnsi("%s");
    const Utf8String usable = isUsableFormat(format) ? format : verbKeyFormat();
    const auto first = static_cast<uint32_t>(usable.find(conversion, 0, false));
    const auto second = static_cast<uint32_t>(usable.find(conversion, first + 2, false));
    Utf8String path = usable.mid(0, first);
    path.append(shellPrefix);
    path.append(usable.mid(first + 2, second - first - 2));
    path.append(sizeText);
    path.append(usable.mid(second + 2, Utf8String::kRestOfText));
    return fitting(path);
}

Utf8String verbCommand(const Utf8String& executablePath, const ImageSize& size)
{
    Utf8String command = Utf8String::fromAnsi("\"");
    command.append(executablePath);
    command.append(Utf8String::fromAnsi("\" -size "));
    command.append(formatSize(size.width, size.height));
    command.append(Utf8String::fromAnsi(" %1"));
    return fitting(command);
}

Utf8String verbKeyOf(const Utf8String& commandKeyPath)
{
    const Utf8String tail = Utf8String::fromAnsi("\\command");
    if (commandKeyPath.charCount() <= tail.charCount()) return Utf8String();
    return commandKeyPath.mid(0, commandKeyPath.charCount() - tail.charCount());
}

Utf8String verbIcon(const Utf8String& executablePath)
{
    return fitting(Utf8String::concat(executablePath, Utf8String::fromAnsi(",0")));
}

bool isOwnVerbCommand(const Utf8String& command, const Utf8String& executablePath)
{
    return executablePath.charCount() > 0 && command.find(executablePath, 0, true) >= 0;
}

#include "shell/verb_text.h"

#include <cstring>

#include "settings/preset_text.h"
#include "text/utf8_sequence.h"

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

// Whether every sequence of the text is whole and in its shortest form: a
// stray or cut-short byte reads one way as characters and another as UTF-16
// units, and could move "\command" or take in some of its letters.
static bool isWellFormed(const Utf8String& text)
{
    const char* p = text.text();
    const char* const end = p + text.byteLength();
    while (p < end) {
        const char* const next = nextUtf8Sequence(p, end);
        char shortest[6];
        const int length = encodeUtf8Sequence(decodeUtf8Sequence(p, end), shortest);
        if (length != next - p || std::memcmp(shortest, p, static_cast<size_t>(length)) != 0) return false;
        p = next;
    }
    return true;
}

static bool isUsableFormat(const Utf8String& format)
{
    if (!isWellFormed(format) || holdsZeroUnit(format)) return false;
    const Utf8String conversion = Utf8String::fromAnsi("%s");
    const int32_t first = format.find(conversion, 0, false);
    if (first < 0) return false;
    const int32_t second = format.find(conversion, static_cast<uint32_t>(first) + 2, false);
    if (second < 0 || format.find(conversion, static_cast<uint32_t>(second) + 2, false) >= 0) return false;
    // The very bytes, in a text whose every character is whole.
    static const char tail[] = "\\command";
    constexpr int32_t tailLength = sizeof tail - 1;
    const int32_t bytes = format.byteLength();
    return bytes >= tailLength && std::memcmp(format.text() + bytes - tailLength, tail, tailLength) == 0;
}

static Utf8String fitting(const Utf8String& text)
{
    return text.charCount() <= kMaxRegistryText ? text : Utf8String();
}

Utf8String verbKeyPath(const Utf8String& format, const Utf8String& shellPrefix, const Utf8String& sizeText)
{
    // Extension names and size texts are whole characters; anything else gives no key.
    if (!isWellFormed(shellPrefix) || !isWellFormed(sizeText)) return Utf8String();
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

Utf8String verbCommand(const Utf8String& executablePath, const Preset& preset)
{
    Utf8String command = Utf8String::fromAnsi("\"");
    command.append(executablePath);
    command.append(Utf8String::fromAnsi("\" -size "));
    command.append(presetText(preset));
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

// Whether `text` from `start` is `part` in any letter case, followed by a
// blank or the end.
static bool standsAt(const Utf8String& text, uint32_t start, const Utf8String& part)
{
    const uint32_t end = start + part.charCount();
    if (end > text.charCount() || text.mid(start, part.charCount()).compare(part, true) != 0) return false;
    return end == text.charCount() || text.mid(end, 1).compare(Utf8String::fromAnsi(" "), false) == 0;
}

bool isOwnVerbCommand(const Utf8String& command, const Utf8String& executablePath)
{
    if (executablePath.charCount() == 0) return false;
    // The program a command starts, quoted (as written now) or not (as the
    // first releases wrote it, blanks and all): a command that only passes
    // the path on to another program is someone else's.
    const Utf8String quote = Utf8String::fromAnsi("\"");
    const Utf8String quoted = Utf8String::concat(quote, Utf8String::concat(executablePath, quote));
    return standsAt(command, 0, quoted) || standsAt(command, 0, executablePath);
}

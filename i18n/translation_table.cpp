#include "i18n/translation_table.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "text/text_decoder.h"

TranslationTable translationTable;

static bool isSingleByte(const Utf8String& text)
{
    return static_cast<uint32_t>(text.byteLength()) == text.charCount();
}

bool Utf8StringOrder::operator()(const Utf8String& left, const Utf8String& right) const
{
    // compare() takes a byte shortcut only when its receiver is plain ASCII;
    // odd bytes (stray continuations, overlong forms) may then order one way
    // from the left and another from the right, which a map must never see.
    // Asking the multi-byte side keeps the order the same both ways.
    if (isSingleByte(left) && !isSingleByte(right)) return right.compare(left, false) > 0;
    return left.compare(right, false) < 0;
}

const Utf8String* TranslationTable::find(const Utf8String& key) const
{
    const auto found = entries_.find(key);
    return found == entries_.end() ? nullptr : &found->second;
}

void TranslationTable::readText(const char* bytes, size_t length, bool mayGoOn)
{
    entries_.clear();
    std::string text = decodeText(bytes, length);
    const size_t zero = text.find('\0');
    if (zero != std::string::npos) {
        text.resize(zero);
    } else if (mayGoOn) {
        const size_t lastCr = text.rfind('\r');
        text.resize(lastCr == std::string::npos ? 0 : lastCr + 1);
    }

    for (size_t offset = 0; offset < text.size();) {
        const char* line = text.data() + offset;
        const void* cr = std::memchr(line, '\r', text.size() - offset);
        const size_t lineLength = cr ? static_cast<size_t>(static_cast<const char*>(cr) - line) : text.size() - offset;
        // fromUtf8 reads a limit of zero as "up to the NUL", so empty lines stop here.
        if (lineLength > 0 && lineLength <= INT32_MAX)
            readLine(Utf8String::fromUtf8(line, static_cast<int32_t>(lineLength)));
        // The byte after the CR is taken to be its LF, whatever it holds.
        offset += lineLength + 2;
    }
}

void TranslationTable::readLine(const Utf8String& line)
{
    const Utf8String equals = Utf8String::fromAnsi("=");
    int32_t separator = line.find(equals, 0, false);
    while (separator > 0 && *line.bytePosition(static_cast<uint32_t>(separator) - 1) == '\\')
        separator = line.find(equals, static_cast<uint32_t>(separator) + 1, false);
    if (separator < 0) return;

    const auto position = static_cast<uint32_t>(separator);
    Utf8String key = position > 0 ? line.mid(0, position) : Utf8String();
    Utf8String text = line.mid(position + 1, Utf8String::kRestOfText);
    const Utf8String escaped = Utf8String::fromAnsi("\\=");
    key.replaceAll(escaped, equals);
    text.replaceAll(escaped, equals);
    entries_[key] = text;
}

Utf8String translate(const Utf8String& key)
{
    const Utf8String* text = translationTable.find(key);
    return text ? *text : key;
}

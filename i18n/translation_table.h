#pragma once

#include <cstddef>
#include <map>

#include "text/utf8_string.h"

// Orders keys by Utf8String::compare, letter case included.
struct Utf8StringOrder {
    bool operator()(const Utf8String& left, const Utf8String& right) const;
};

// English interface texts (keys) to the texts of the current language.
class TranslationTable {
public:
    // Replaces every entry by the KEY=TEXT lines of a translation file's
    // bytes, read as TextDecoder reads them (UTF-8, or UTF-16 with its
    // byte-order mark); the text ends at its first zero or after length
    // bytes. When the file may go on past them (it filled the buffer), a last
    // line without its CR may be cut, and is left out.
    void readText(const char* bytes, size_t length, bool mayGoOn = false);

    void clear() { entries_.clear(); }
    size_t size() const { return entries_.size(); }
    // The stored text, or null when the key has no entry.
    const Utf8String* find(const Utf8String& key) const;

private:
    void readLine(const Utf8String& line);

    std::map<Utf8String, Utf8String, Utf8StringOrder> entries_;
};

extern TranslationTable translationTable;

// The key's text in the current language; the key itself when it has none.
Utf8String translate(const Utf8String& key);

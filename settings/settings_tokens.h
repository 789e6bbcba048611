#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "settings/size_list.h"
#include "text/utf8_string.h"

// Splits the settings file, fed in pieces of any size, into tokens separated
// by white space. A token longer than kMaxTokenLength bytes is skipped whole:
// it cannot be a size, and cutting it could make one. A UTF-8 byte-order mark
// that an editor put at the start of the file is no part of the first token.
class SettingsTokenizer {
public:
    static constexpr size_t kMaxTokenLength = 259;

    explicit SettingsTokenizer(std::function<void(const Utf8String&)> onToken) : onToken_(std::move(onToken)) {}

    void feed(const char* bytes, size_t count);
    // Hands over a token that the end of the file ends.
    void finish();

private:
    void endToken();

    std::function<void(const Utf8String&)> onToken_;
    std::string token_;
    bool tooLong_ = false;
    size_t fed_ = 0;
};

// The settings file's content for a list: one "WxH" line per size, in list
// order, each ended by CR LF; nothing at all for an empty list.
std::string settingsText(const SizeList& list);

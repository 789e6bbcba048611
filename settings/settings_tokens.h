#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "settings/size_list.h"
#include "text/text_decoder.h"
#include "text/utf8_string.h"

// Splits the settings file, fed in pieces of any size, into tokens separated
// by white space. A token longer than kMaxTokenLength bytes is skipped whole:
// it cannot be a size, and cutting it could make one. The file is read as
// TextDecoder reads it (UTF-8, or UTF-16 with its byte-order mark); tokens
// are UTF-8.
class SettingsTokenizer {
public:
    static constexpr size_t kMaxTokenLength = 259;

    explicit SettingsTokenizer(std::function<void(const Utf8String&)> onToken) : onToken_(std::move(onToken)) {}

    void feed(const char* bytes, size_t count);
    // Hands over a token that the end of the file ends.
    void finish();
    // Whether the file held anything but white space, tokens skipped included.
    bool heldText() const { return heldText_; }

private:
    void take(const std::string& text);
    void endToken();

    std::function<void(const Utf8String&)> onToken_;
    TextDecoder decoder_;
    std::string decoded_;
    std::string token_;
    bool tooLong_ = false;
    bool heldText_ = false;
};

// The settings file's content for a list: one "WxH" line per size, in list
// order, each ended by CR LF; nothing at all for an empty list.
std::string settingsText(const SizeList& list);

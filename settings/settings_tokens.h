#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "settings/size_list.h"
#include "text/text_decoder.h"
#include "text/utf8_string.h"

// Splits the settings file, fed in pieces of any size, into tokens separated
// by white space, and tells where each line ends. A token longer than kMaxTokenLength bytes is skipped whole:
// it cannot be a size, and cutting it could make one. The file is read as
// TextDecoder reads it (UTF-8, or UTF-16 with its byte-order mark); tokens
// are UTF-8.
class SettingsTokenizer {
public:
    static constexpr size_t kMaxTokenLength = 259;

    explicit SettingsTokenizer(std::function<void(const Utf8String&)> onToken,
                               std::function<void()> onLineEnd = [] {})
        : onToken_(std::move(onToken)), onLineEnd_(std::move(onLineEnd))
    {
    }

    void feed(const char* bytes, size_t count);
    // Hands over a token that the end of the file ends.
    void finish();
    // Whether the file held anything but white space, tokens skipped included.
    bool heldText() const { return heldText_; }

private:
    void take(const std::string& text);
    void endToken();

    std::function<void(const Utf8String&)> onToken_;
    std::function<void()> onLineEnd_;
    TextDecoder decoder_;
    std::string decoded_;
    std::string token_;
    bool tooLong_ = false;
    bool heldText_ = false;
};

// The presets of a settings file: a size starts one, and the option words
// after it on its line are its own. Several sizes on a line, as early lists
// were written, are several presets. A word that is no option, or one before
// any size on its line, is left out and kept in droppedWords, so that the
// user can be told; a repeated preset is skipped.
class SettingsPresets {
public:
    void token(const Utf8String& token);
    void lineEnd();
    const SizeList& list() const { return list_; }
    const std::vector<Utf8String>& droppedWords() const { return dropped_; }

private:
    SizeList list_;
    Preset current_;
    bool open_ = false;
    std::vector<Utf8String> dropped_;
};

// The settings file's content for a list: one preset's text form a line,
// in list order, each ended by CR LF; nothing at all for an empty list.
std::string settingsText(const SizeList& list);

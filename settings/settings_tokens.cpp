#include "settings/settings_tokens.h"

#include "settings/preset_text.h"
#include "settings/size_text.h"

static bool isWhiteSpace(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' || byte == '\r';
}

void SettingsTokenizer::feed(const char* bytes, size_t count)
{
    decoded_.clear();
    decoder_.feed(bytes, count, decoded_);
    take(decoded_);
}

void SettingsTokenizer::finish()
{
    decoded_.clear();
    decoder_.finish(decoded_);
    take(decoded_);
    endToken();
    onLineEnd_();
}

void SettingsTokenizer::take(const std::string& text)
{
    for (const char byte : text) {
        if (isWhiteSpace(byte)) {
            endToken();
            if (byte == '\n' || byte == '\r') onLineEnd_();
            continue;
        }
        heldText_ = true;
        if (token_.size() < kMaxTokenLength) token_.push_back(byte);
        else tooLong_ = true;
    }
}

void SettingsTokenizer::endToken()
{
    if (!token_.empty() && !tooLong_)
        onToken_(Utf8String::fromUtf8(token_.data(), static_cast<int32_t>(token_.size())));
    token_.clear();
    tooLong_ = false;
}

void SettingsPresets::token(const Utf8String& token)
{
    Preset started;
    if (parseSize(token, started.size)) {
        lineEnd();
        current_ = started;
        open_ = true;
    } else if (!open_ || readOptionWord(token, current_.options) != WordReading::Applied) {
        dropped_.push_back(token);
    }
}

void SettingsPresets::lineEnd()
{
    if (open_) list_.add(current_);
    open_ = false;
}

std::string settingsText(const SizeList& list)
{
    std::string text;
    for (int32_t i = 0; i < list.count(); ++i) {
        const Utf8String line = presetText(list.at(i));
        text.append(line.text(), static_cast<size_t>(line.byteLength()));
        text += "\r\n";
    }
    return text;
}

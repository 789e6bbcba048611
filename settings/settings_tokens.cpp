#include "settings/settings_tokens.h"

#include "settings/size_text.h"

static bool isWhiteSpace(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' || byte == '\r';
}

static const std::string kByteOrderMark = "\xEF\xBB\xBF";

void SettingsTokenizer::feed(const char* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (isWhiteSpace(bytes[i])) {
            endToken();
        } else if (token_.size() < kMaxTokenLength) {
            token_.push_back(bytes[i]);
        } else {
            tooLong_ = true;
        }
        // A token as long as the bytes fed so far began the file.
        if (++fed_ == kByteOrderMark.size() && token_ == kByteOrderMark) token_.clear();
    }
}

void SettingsTokenizer::finish()
{
    endToken();
}

void SettingsTokenizer::endToken()
{
    if (!token_.empty() && !tooLong_)
        onToken_(Utf8String::fromUtf8(token_.data(), static_cast<int32_t>(token_.size())));
    token_.clear();
    tooLong_ = false;
}

std::string settingsText(const SizeList& list)
{
    std::string text;
    for (int32_t i = 0; i < list.count(); ++i) {
        const ImageSize size = list.at(i);
        text += formatSize(size.width, size.height).text();
        text += "\r\n";
    }
    return text;
}

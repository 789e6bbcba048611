#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_tokens.h"
#include "tests/utf16_bytes.h"

static std::vector<std::string> tokensOf(const std::string& text, size_t pieceSize, bool* heldText = nullptr)
{
    std::vector<std::string> tokens;
    SettingsTokenizer tokenizer([&tokens](const Utf8String& token) {
        tokens.emplace_back(token.text(), static_cast<size_t>(token.byteLength()));
    });
    for (size_t at = 0; at < text.size(); at += pieceSize)
        tokenizer.feed(text.data() + at, std::min(pieceSize, text.size() - at));
    tokenizer.finish();
    if (heldText) *heldText = tokenizer.heldText();
    return tokens;
}

TEST(SettingsTokens, SplitAtAnyWhiteSpaceWhateverThePieces)
{
    const std::string text = "800x600\r\n1024x768 640x480\t\t1x1\n\n  abc\r\n 800 x 600\r\n320x200";
    const std::vector<std::string> expected = {"800x600", "1024x768", "640x480", "1x1", "abc",
                                               "800",     "x",        "600",     "320x200"};
    for (size_t pieceSize : {size_t(1), size_t(3), size_t(4096)}) EXPECT_EQ(tokensOf(text, pieceSize), expected);
    EXPECT_TRUE(tokensOf("", 1).empty());
    EXPECT_TRUE(tokensOf(" \r\n\t ", 2).empty());
}

TEST(SettingsTokens, ReadUtf8AndUtf16ByTheirByteOrderMarks)
{
    const std::string mark = "\xEF\xBB\xBF";
    const std::u16string notepad = u"\xFEFF" u"800x600\r\n1024x768 размер\r\n";
    const std::vector<std::string> notepadTokens = {"800x600", "1024x768", "размер"};
    const struct {
        const char* what;
        std::string text;
        std::vector<std::string> tokens;
        bool heldText;
    } cases[] = {
        {"mark before the first size", mark + "800x600\r\n1x2", {"800x600", "1x2"}, true},
        {"mark alone on its line", mark + "\r\n800x600", {"800x600"}, true},
        {"mark and the longest token", mark + std::string(SettingsTokenizer::kMaxTokenLength, '9'),
         {std::string(SettingsTokenizer::kMaxTokenLength, '9')}, true},
        {"mark after a blank stays", " " + mark + "1x2", {mark + "1x2"}, true},
        {"half a mark stays", "\xEF\xBB" "1x2", {"\xEF\xBB" "1x2"}, true},
        // A token of a cut-off sequence alone, which is dropped, but still text.
        {"half a mark alone", "\xEF\xBB", {""}, true},
        {"a mark alone", mark, {}, false},
        {"UTF-16 LE, as Notepad and PowerShell 5 save", utf16Bytes(notepad, true), notepadTokens, true},
        {"UTF-16 BE", utf16Bytes(notepad, false), notepadTokens, true},
        {"UTF-16 mark and blanks", utf16Bytes(u"\xFEFF \r\n\t", true), {}, false},
        {"UTF-16 with an odd last byte", utf16Bytes(u"\xFEFF" u"1x2", true) + "3", {"1x2"}, true},
        {"UTF-16 surrogate pair, unit by unit", utf16Bytes(u"\xFEFF" u"\U0001F600", true),
         {"\xED\xA0\xBD\xED\xB8\x80"}, true},
        {"UTF-16 without a mark is bytes", utf16Bytes(u"1x2", true), {std::string("1\0x\0" "2\0", 6)}, true},
    };
    for (const auto& c : cases) {
        for (size_t pieceSize : {size_t(1), size_t(2), size_t(3), size_t(4096)}) {
            bool heldText = false;
            EXPECT_EQ(tokensOf(c.text, pieceSize, &heldText), c.tokens) << c.what << ", pieces of " << pieceSize;
            EXPECT_EQ(heldText, c.heldText) << c.what << ", pieces of " << pieceSize;
        }
    }
}

TEST(SettingsTokens, SkipOverLongTokensWhole)
{
    const std::string longest(SettingsTokenizer::kMaxTokenLength, '9');
    const std::string tooLong = "800x600" + std::string(SettingsTokenizer::kMaxTokenLength, '0');
    EXPECT_EQ(tokensOf(longest + " 1x2", 7), (std::vector<std::string>{longest, "1x2"}));
    EXPECT_EQ(tokensOf(tooLong + " 1x2 " + tooLong, 5), (std::vector<std::string>{"1x2"}));
    EXPECT_EQ(tokensOf(std::string(100000, '7') + "\r\n640x480", 4096), (std::vector<std::string>{"640x480"}));
}

TEST(SettingsTokens, WriteOneCrLfLinePerSizeInListOrder)
{
    SizeList list;
    EXPECT_EQ(settingsText(list), "");
    list.addText(Utf8String::fromAnsi("800x600"));
    list.addText(Utf8String::fromAnsi(" 1024 x 768"));
    EXPECT_EQ(settingsText(list), "800x600\r\n1024x768\r\n");
}

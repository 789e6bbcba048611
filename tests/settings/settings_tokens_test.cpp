#include <gtest/gtest.h>

#include <utility>

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
    list.addText(Utf8String::fromAnsi("1024x768  keep-date Jpeg"));
    EXPECT_EQ(settingsText(list), "800x600\r\n1024x768\r\n1024x768 jpeg keep-date\r\n");
}

// A file's presets and the words it leaves out, as the tokenizer hands them over.
static std::pair<std::vector<std::string>, std::vector<std::string>> presetsOf(const std::string& file)
{
    SettingsPresets presets;
    SettingsTokenizer tokenizer([&presets](const Utf8String& token) { presets.token(token); },
                                [&presets] { presets.lineEnd(); });
    tokenizer.feed(file.data(), file.size());
    tokenizer.finish();
    std::vector<std::string> texts, dropped;
    for (const Utf8String& text : presets.list().texts()) texts.emplace_back(text.text());
    for (const Utf8String& word : presets.droppedWords()) dropped.emplace_back(word.text());
    return {texts, dropped};
}

TEST(SettingsPresets, OptionWordsBelongToTheSizeBeforeThemOnTheirLine)
{
    using Strings = std::vector<std::string>;
    const struct {
        const char* what;
        const char* file;
        Strings presets;
        Strings dropped;
    } rows[] = {
        {"today's list", "640x480\r\n800x600\r\n", {"640x480", "800x600"}, {}},
        {"sizes on one line", "800x600 1024x768", {"800x600", "1024x768"}, {}},
        {"options after their size", "1024x768 jpeg quality=85 no-location\r\n1600x1600 webp never-larger keep-date",
         {"1024x768 jpeg quality=85 no-location", "1600x1600 webp never-larger keep-date"}, {}},
        {"any case, any order, written canonically", "1024x768 KEEP-DATE Quality=7 jpg",
         {"1024x768 jpeg quality=7 keep-date"}, {}},
        {"one size, two presets", "800x600\n800x600 png\n800x600 png", {"800x600", "800x600 png"}, {}},
        {"an unknown word costs only itself", "800x600 jpeg sepia quality=85", {"800x600 jpeg quality=85"}, {"sepia"}},
        {"a contradiction keeps the first", "800x600 png webp quality=50 quality=60 no-location profile-only",
         {"800x600 png quality=50 no-location"}, {"webp", "quality=60", "profile-only"}},
        {"a repeated word is harmless", "800x600 keep-date keep-date", {"800x600 keep-date"}, {}},
        {"out-of-range qualities", "800x600 quality=0 quality=101 quality=", {"800x600"},
         {"quality=0", "quality=101", "quality="}},
        {"words never reach the next line's size", "800x600\r\njpeg 640x480", {"800x600", "640x480"}, {"jpeg"}},
        {"words of no size", "abc\njpeg", {}, {"abc", "jpeg"}},
    };
    for (const auto& row : rows) {
        const auto [presets, dropped] = presetsOf(row.file);
        EXPECT_EQ(presets, row.presets) << row.what;
        EXPECT_EQ(dropped, row.dropped) << row.what;
    }
}

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "i18n/translation_table.h"
#include "tests/utf16_bytes.h"

namespace {
struct Entry {
    std::string key;
    std::string text;
};

struct TextCase {
    const char* what;
    std::string text;
    std::vector<Entry> entries;  // every entry the text must give, and no other
    bool mayGoOn = false;        // the file filled the buffer
};
}  // namespace

static Utf8String u8(const std::string& text)
{
    return Utf8String::fromUtf8(text.data(), static_cast<int32_t>(text.size()));
}

static void expectEntries(const TextCase& textCase)
{
    TranslationTable table;
    table.readText(textCase.text.data(), textCase.text.size(), textCase.mayGoOn);
    EXPECT_EQ(table.size(), textCase.entries.size()) << textCase.what;
    for (const Entry& entry : textCase.entries) {
        const Utf8String* found = table.find(u8(entry.key));
        ASSERT_NE(found, nullptr) << textCase.what << ": key [" << entry.key << "]";
        EXPECT_EQ(std::string(found->text()), entry.text) << textCase.what << ": key [" << entry.key << "]";
    }
}

TEST(TranslationText, SeparatorIsTheFirstUnescapedEqualsSign)
{
    const TextCase cases[] = {
        {"escaped in the key", "a\\=b=c", {{"a=b", "c"}}},
        {"escaped in the text", "a=b\\=c", {{"a", "b=c"}}},
        {"second equals sign is text", "a=b=c", {{"a", "b=c"}}},
        {"every backslash before an equals sign goes", "a\\\\=b=c", {{"a=b", "c"}}},
        {"only escaped equals signs", "\\\\=x", {}},
        {"other backslashes stay", "%sResize %s...\\command=%sX %s...\\command",
         {{"%sResize %s...\\command", "%sX %s...\\command"}}},
        {"separator first is the empty key", "=empty key", {{"", "empty key"}}},
        {"separator last is the empty text", "Add=", {{"Add", ""}}},
        {"a lone separator", "=", {{"", ""}}},
    };
    for (const TextCase& textCase : cases) expectEntries(textCase);
}

TEST(TranslationText, LinesEndAtEveryCarriageReturn)
{
    const TextCase cases[] = {
        {"CR LF lines", "Add=Plus\r\nSave=Keep\r\n", {{"Add", "Plus"}, {"Save", "Keep"}}},
        {"last line without a line end", "Add=Plus\r\nSave=Keep", {{"Add", "Plus"}, {"Save", "Keep"}}},
        {"bare LF is one line", "Add=Plus\nSave=Keep\n", {{"Add", "Plus\nSave=Keep\n"}}},
        {"the byte after a CR is skipped whatever it is", "Add=Plus\rXSave=Keep", {{"Add", "Plus"}, {"Save", "Keep"}}},
        {"CR as the last byte", "Add=Plus\r", {{"Add", "Plus"}}},
        {"blank lines and headings add nothing",
         "\r\n[Main dialog]\r\n\r\nAdd=Plus\r\n\r\nremarks without separator\r\n\r\nSave=Keep\r\n\r\n",
         {{"Add", "Plus"}, {"Save", "Keep"}}},
        {"a heading with a separator is an entry", "[a=b]\r\n", {{"[a", "b]"}}},
        {"later line wins", "Add=Hinzu\r\nSave=Keep\r\nAdd=Plus\r\n", {{"Add", "Plus"}, {"Save", "Keep"}}},
        {"a leading byte-order mark is passed over", "\xEF\xBB\xBF" "Add=Plus\r\nSave=Keep\r\n",
         {{"Add", "Plus"}, {"Save", "Keep"}}},
        {"a mark elsewhere is text", "Add=Plus\r\n\xEF\xBB\xBF" "Save=Keep\r\n",
         {{"Add", "Plus"}, {"\xEF\xBB\xBF" "Save", "Keep"}}},
        {"a mark alone", "\xEF\xBB\xBF", {}},
        {"spaces belong to key and text", " Add = Plus \r\n", {{" Add ", " Plus "}}},
        {"letter case is kept apart", "add=lower\r\nADD=upper\r\n", {{"add", "lower"}, {"ADD", "upper"}}},
        {"UTF-8 texts", "Add=Добавить\r\nОК=ok\r\n", {{"Add", "Добавить"}, {"ОК", "ok"}}},
        {"empty text", "", {}},
    };
    for (const TextCase& textCase : cases) expectEntries(textCase);
}

TEST(TranslationText, Utf16WithItsMarkReadsAsUtf8Does)
{
    const std::u16string lines = u"\xFEFF[Main dialog]\r\nAdd=Добавить\r\nSave=\U0001F4BE\r\n";
    const std::vector<Entry> entries = {{"Add", "Добавить"}, {"Save", "\xED\xA0\xBD\xED\xB2\xBE"}};
    const TextCase cases[] = {
        {"little-endian", utf16Bytes(lines, true), entries},
        {"big-endian", utf16Bytes(lines, false), entries},
        {"an odd last byte", utf16Bytes(u"\xFEFF" u"Add=Plus", true) + "!", {{"Add", "Plus"}}},
        {"a mark alone", utf16Bytes(u"\xFEFF", false), {}},
    };
    for (const TextCase& textCase : cases) expectEntries(textCase);
}

TEST(TranslationText, TextEndsAtTheFirstZero)
{
    const TextCase cases[] = {
        {"zero inside a line", std::string("Add=Plus\r\nSave=Ke\0ep\r\nCancel=Stop\r\n", 32), {{"Add", "Plus"}, {"Save", "Ke"}}},
        {"zero first", std::string("\0Add=Plus", 9), {}},
        {"UTF-16 zero unit", utf16Bytes(std::u16string(u"\xFEFF" u"Add=P\0lus\r\nSave=Keep", 21), true),
         {{"Add", "P"}}},
        {"UTF-16 without its mark", utf16Bytes(u"Add=Plus", true), {}},
    };
    for (const TextCase& textCase : cases) expectEntries(textCase);
}

TEST(TranslationText, AFileThatMayGoOnKeepsOnlyItsWholeLines)
{
    const TextCase cases[] = {
        {"a cut last line", "Add=Plus\r\nSave=Ke", {{"Add", "Plus"}}, true},
        {"a CR last", "Add=Plus\r\nSave=Keep\r", {{"Add", "Plus"}, {"Save", "Keep"}}, true},
        {"no CR at all", "Add=Plus", {}, true},
        {"a zero ends it before", std::string("Add=Plus\r\nSave=Ke\0", 18), {{"Add", "Plus"}, {"Save", "Ke"}}, true},
        {"UTF-16 cut last line", utf16Bytes(u"\xFEFF" u"Add=Plus\r\nSave=Ke", false), {{"Add", "Plus"}}, true},
        // U+0D0A holds both line end bytes, and ends no line.
        {"UTF-16 line end bytes inside a unit", utf16Bytes(u"\xFEFF" u"Add=Plus\r\nSave=\x0D0A", true),
         {{"Add", "Plus"}}, true},
    };
    for (const TextCase& textCase : cases) expectEntries(textCase);
}

TEST(TranslationText, ReadingReplacesEveryEntry)
{
    TranslationTable table;
    const std::string first = "Add=Plus\r\nSave=Keep\r\n";
    table.readText(first.data(), first.size());
    const std::string second = "Cancel=Stop\r\n";
    table.readText(second.data(), second.size());
    EXPECT_EQ(table.size(), 1u);
    EXPECT_EQ(table.find(u8("Add")), nullptr);
    table.readText("", 0);
    EXPECT_EQ(table.size(), 0u);
}

TEST(TranslationText, OddBytesInKeysKeepTheTableOrdered)
{
    // Stray continuation bytes and overlong forms beside plain keys: every key
    // read must still be found, or the map's order has come apart.
    const std::vector<std::string> keys = {
        "B", "\x80" "A", "A", "\xC1\x81", "\xC1\x81" "b", "a", "\xBF", "Z", "\xE0\x80\x80", "zz", "\xD0\x9E\xD0\x9A", "\x7F"};
    std::string text;
    for (const std::string& key : keys) text += key + "=" + key + "\r\n";
    TranslationTable table;
    table.readText(text.data(), text.size());
    for (const std::string& key : keys) {
        const Utf8String* found = table.find(u8(key));
        ASSERT_NE(found, nullptr) << "key of " << key.size() << " bytes";
    }
}

TEST(Translate, GivesTheEntryOrTheKeyItself)
{
    translationTable.clear();
    EXPECT_STREQ(translate(u8("Add")).text(), "Add");

    const std::string text = "Add=Plus\r\nSave=\r\nadd=lower\r\n Cancel =Stop\r\n";
    translationTable.readText(text.data(), text.size());
    const struct {
        const char* key;
        const char* expected;
    } cases[] = {
        {"Add", "Plus"},
        {"Save", ""},        // an empty text is still a translation
        {"ADD", "ADD"},      // letter case matters
        {"Cancel", "Cancel"},  // the entry's key carries spaces
        {"Delete", "Delete"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_STREQ(translate(u8(c.key)).text(), c.expected) << c.key;
    EXPECT_EQ(translationTable.size(), 4u);  // lookups add nothing
    translationTable.clear();
}

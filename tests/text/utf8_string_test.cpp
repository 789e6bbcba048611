#include <gtest/gtest.h>

#include <string>

#include "tests/wide_literal.h"
#include "text/number_format.h"
#include "text/utf8_string.h"

static Utf8String u8(const char* text)
{
    return Utf8String::fromUtf8(text, 0);
}

static std::u16string unitsOf(const WideBuffer& buffer)
{
    std::u16string units;
    for (const WideChar* p = buffer.units(); *p; ++p) units.push_back(static_cast<char16_t>(*p));
    return units;
}

TEST(Utf8StringBlocks, CopiesShareAndReleaseTheirBlock)
{
    Utf8String original = u8("shared text");
    const char* block = original.text();
    {
        const Utf8String copy = original;
        EXPECT_EQ(copy.text(), block);
        Utf8String assigned;
        assigned = copy;
        EXPECT_EQ(assigned.text(), block);
    }
    original = original;  // self-assignment keeps the block alive
    EXPECT_STREQ(original.text(), "shared text");

    Utf8String moved = std::move(original);
    EXPECT_EQ(moved.text(), block);
    EXPECT_EQ(original.charCount(), 0u);  // NOLINT: a moved-from string is empty
}

TEST(Utf8StringBlocks, ReplacingTheReceiverLeavesOtherHoldersTheirText)
{
    Utf8String mine = u8("a\\=b\\=c");
    const Utf8String theirs = mine;
    mine.replaceAll(u8("\\="), u8("="));
    EXPECT_STREQ(mine.text(), "a=b=c");
    EXPECT_STREQ(theirs.text(), "a\\=b\\=c");

    Utf8String appended = theirs;
    appended.append(u8("!"));
    EXPECT_STREQ(appended.text(), "a\\=b\\=c!");
    EXPECT_STREQ(theirs.text(), "a\\=b\\=c");
}

TEST(Utf8StringBlocks, EmptyBlockAndNullBehaveAlike)
{
    const Utf8String null;
    const Utf8String emptyBlock = u8("abcdef").mid(0, 0);
    EXPECT_NE(emptyBlock.text(), null.text());  // a block of its own, still empty
    for (const Utf8String* empty : {&null, &emptyBlock}) {
        EXPECT_EQ(empty->charCount(), 0u);
        EXPECT_STREQ(empty->text(), "");
        EXPECT_EQ(empty->find(u8("a"), 0, false), -1);
        EXPECT_EQ(empty->find(u8("a"), 0, true), -1);
        EXPECT_EQ(empty->toInt(), -1);
        EXPECT_EQ(unitsOf(empty->toWide()), u"");
    }
    EXPECT_EQ(null.compare(emptyBlock, false), 0);
    EXPECT_EQ(emptyBlock.compare(null, true), 0);

    Utf8String receiver = u8("keep");
    const char* block = receiver.text();
    receiver.append(null);
    receiver.append(emptyBlock);
    EXPECT_EQ(receiver.text(), block);
    EXPECT_EQ(Utf8String::concat(receiver, null).text(), block);
}

TEST(Utf8StringConversions, Utf16RoundTripsKeepSurrogateHalves)
{
    const WideChar pair[] = {0xD83D, 0xDE00, 0};
    const Utf8String fromPair = Utf8String::fromWide(pair, 0);
    EXPECT_EQ(fromPair.byteLength(), 6);
    EXPECT_EQ(fromPair.charCount(), 2u);
    EXPECT_EQ(unitsOf(fromPair.toWide()), u"\xD83D\xDE00");

    const Utf8String cyrillic = Utf8String::fromWide(WIDE("Привет, мир.jpg"), 0);
    EXPECT_EQ(cyrillic.charCount(), 15u);
    EXPECT_STREQ(cyrillic.text(), "Привет, мир.jpg");
    EXPECT_EQ(unitsOf(cyrillic.toWide()), u"Привет, мир.jpg");

    // An explicit count takes that many units, NUL or not.
    EXPECT_STREQ(Utf8String::fromWide(WIDE("abcdef"), 3).text(), "abc");
}

TEST(Utf8StringConversions, Utf8InputIsCountedByTheLeadByteRule)
{
    const Utf8String emoji = u8("\xF0\x9F\x98\x80");
    EXPECT_EQ(emoji.charCount(), 1u);
    EXPECT_EQ(unitsOf(emoji.toWide()), u"\xF600");  // the low 16 bits only

    EXPECT_EQ(Utf8String::fromUtf8("\xC3\xA9", 1).charCount(), 0u);  // é cut by the limit
    EXPECT_STREQ(Utf8String::fromUtf8("a\xC3\xA9z", 3).text(), "a\xC3\xA9");

    // A stray continuation byte leads a two-byte sequence; a lead whose
    // sequence runs past the terminator is dropped whole.
    EXPECT_EQ(u8("\x80\x41z").charCount(), 2u);
    EXPECT_EQ(u8("ab\xFC\x80").charCount(), 2u);
    EXPECT_STREQ(u8("ab\xFC\x80").text(), "ab");
}

TEST(Utf8StringConversions, CopyToWideIsBoundedByTheCapacity)
{
    const Utf8String text = u8("αβγδ");
    WideChar units[3] = {1, 1, 1};
    EXPECT_EQ(text.copyToWide(nullptr, 0), 5);
    EXPECT_EQ(text.copyToWide(units, 3), 2);
    EXPECT_EQ(units[0], WideChar(0x3B1));
    EXPECT_EQ(units[1], WideChar(0x3B2));
    EXPECT_EQ(units[2], WideChar(0));
    EXPECT_EQ(text.toWide().capacity(), 5);
}

TEST(Utf8StringConversions, IntegersBothWays)
{
    EXPECT_STREQ(Utf8String::fromInt(0).text(), "0");
    EXPECT_STREQ(Utf8String::fromInt(-5).text(), "-5");
    EXPECT_STREQ(Utf8String::fromInt(600).text(), "600");
    EXPECT_STREQ(Utf8String::fromInt(2147483647).text(), "2147483647");
    EXPECT_STREQ(Utf8String::fromInt(-2147483647 - 1).text(), "-2147483648");
    EXPECT_EQ(Utf8String::fromInt(-2147483647 - 1).charCount(), 11u);

    const struct {
        const char* text;
        int32_t value;
    } rows[] = {{"800", 800},         {"  7", 7},           {"+7", 7},          {"-5", -5},
                {"12abc", 12},        {"600x3", 600},       {"abc", -1},        {"", -1},
                {"-", -1},            {" ", -1},            {"\t7", -1},        {"0", 0},
                {"2147483647", 2147483647}, {"2147483648", -1}, {"-2147483648", -2147483647 - 1},
                {"-2147483649", -1},  {"99999999999999999999", -1}, {"+-3", -1}};
    for (const auto& row : rows) EXPECT_EQ(u8(row.text).toInt(), row.value) << '"' << row.text << '"';
}

TEST(Utf8StringSearch, FindGivesCharacterPositions)
{
    EXPECT_EQ(u8("abcabc").find(u8("c"), 3, false), 5);
    EXPECT_EQ(u8("abcabc").find(u8("c"), 6, false), -1);
    EXPECT_EQ(u8("abcabc").find(u8("c"), 600, true), -1);
    EXPECT_EQ(u8("abcabc").find(u8("abd"), 0, false), -1);
    EXPECT_EQ(u8("αβγ").find(u8("γ"), 0, false), 2);
    EXPECT_EQ(u8("αβγαβγ").find(u8("β"), 2, false), 4);
    EXPECT_EQ(u8("x -size 8").find(u8("-SIZE "), 0, true), 2);
    EXPECT_EQ(u8("x -size 8").find(u8("-SIZE "), 0, false), -1);
    EXPECT_EQ(u8("ПРИВЕТ мир").find(u8("привет"), 0, true), 0);
    EXPECT_EQ(u8("ab").find(u8("abc"), 0, true), -1);  // the text ends before the needle
    EXPECT_EQ(u8("abc").find(Utf8String(), 0, false), -1);
}

TEST(Utf8StringSearch, CompareOrdersByCodePoint)
{
    const struct {
        const char* left;
        const char* right;
        bool ignoreCase;
        int32_t order;
    } rows[] = {
        {"abc", "abc", false, 0}, {"abc", "abd", false, -1}, {"abd", "abc", false, 1},
        {"ab", "abc", false, -1}, {"abc", "ab", false, 1},   {"ABC", "abc", true, 0},
        {"a", "B", false, 1},     {"a", "B", true, -1},      {"_", "a", true, 1},
        {"ǅ", "ǆ", true, 0},      {"é", "z", false, 1},      {"z", "é", false, -1},
        {"ЁЛКА", "ёлка", true, 0}, {"ß", "SS", true, 1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(u8(row.left).compare(u8(row.right), row.ignoreCase), row.order) << row.left << " vs " << row.right;
    EXPECT_NE(u8("Ǆ").compare(u8("ǆ"), true), 0);
}

TEST(Utf8StringSearch, MidCountsCharacters)
{
    const Utf8String text = u8("abcdef");
    EXPECT_STREQ(text.mid(2, Utf8String::kRestOfText).text(), "cdef");
    EXPECT_STREQ(text.mid(4, 10).text(), "ef");
    EXPECT_EQ(text.mid(6, 1).charCount(), 0u);
    EXPECT_EQ(text.mid(0, 0).charCount(), 0u);

    const Utf8String mixed = u8("пр.ив€т");
    const Utf8String part = mixed.mid(1, 4);
    EXPECT_STREQ(part.text(), "р.ив");
    EXPECT_EQ(part.charCount(), 4u);
    EXPECT_STREQ(mixed.mid(5, Utf8String::kRestOfText).text(), "€т");
    EXPECT_STREQ(mixed.bytePosition(3), "ив€т");
}

TEST(Utf8StringSearch, ReplaceAllSearchesAgainFromTheStart)
{
    Utf8String escaped = u8("a\\=b\\=c");
    escaped.replaceAll(u8("\\="), u8("="));
    EXPECT_STREQ(escaped.text(), "a=b=c");

    Utf8String twice = u8("\\\\=");
    twice.replaceAll(u8("\\="), u8("="));
    EXPECT_STREQ(twice.text(), "=");

    Utf8String lines = u8("один\\nдва\\n");
    lines.replaceAll(u8("\\n"), u8("\r\n"));
    EXPECT_STREQ(lines.text(), "один\r\nдва\r\n");
    EXPECT_EQ(lines.charCount(), 11u);

    // A replacement that holds the needle would never end: nothing is replaced.
    Utf8String growing = u8("aaa");
    growing.replaceAll(u8("a"), u8("aa"));
    EXPECT_STREQ(growing.text(), "aaa");
}

TEST(TextFormat, NamesTakeThePlaceOfTheConversionsOfTheTranslationOrOfTheEnglishFormat)
{
    const char english[] = "The old settings.txt is kept beside the program as %s.";
    const struct {
        const char* format;
        const char* name;
        const char* text;
    } rows[] = {
        {"Старый settings.txt сохранён рядом с программой как %s.", "settings.txt.1.bak",
         "Старый settings.txt сохранён рядом с программой как settings.txt.1.bak."},
        // Numbers are not texts, and a name is never read as a format.
        {"%d: %s", "a%sb%d.bak", "%d: a%sb%d.bak"},
        // Broken translations give way to the English text.
        {"Kept.", "settings.txt.2.bak", "The old settings.txt is kept beside the program as settings.txt.2.bak."},
        {"%s, %s", "settings.txt.bak", "The old settings.txt is kept beside the program as settings.txt.bak."},
    };
    for (const auto& row : rows)
        EXPECT_STREQ(formatTexts(u8(row.format), u8(english), {u8(row.name)}).text(), row.text) << row.format;
}

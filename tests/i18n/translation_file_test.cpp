#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <optional>
#include <string>

#include "base/module_path.h"
#include "i18n/preset_description.h"
#include "i18n/translation_file.h"
#include "i18n/translation_table.h"
#include "settings/preset_text.h"
#include "tests/support/file_guards.h"
#include "tests/support/file_system.h"
#include "tests/support/temp_folder.h"
#include "tests/support/utf8_conversion.h"
#include "tests/utf16_bytes.h"

static const size_t kMiB = 1024 * 1024;

static Utf8String u8(const char* text)
{
    return Utf8String::fromUtf8(text, 0);
}

static void preloadTable()
{
    const std::string earlier = "Earlier=entry\r\n";
    translationTable.readText(earlier.data(), earlier.size());
}

// Distinct filler lines that make up exactly `size` bytes.
static std::string fillerLines(size_t size)
{
    std::string text;
    char line[32];
    for (int index = 0; size - text.size() > 40; ++index) {
        std::snprintf(line, sizeof line, "f%07d=filler\r\n", index);
        text += line;
    }
    const size_t rest = size - text.size();
    return text + "pad=" + std::string(rest - 6, 'x') + "\r\n";
}

TEST(TranslationFile, FileThatCannotBeOpenedKeepsTheTable)
{
    const TempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    for (const std::wstring& path : {folder.file(L"missing.txt"), folder.path(), std::wstring()}) {
        preloadTable();
        loadTranslationFile(utf8Of(path));
        EXPECT_EQ(translationTable.size(), 1u);
        EXPECT_STREQ(translate(u8("Earlier")).text(), "entry");
    }
    translationTable.clear();
}

TEST(TranslationFile, FileContentReplacesTheTable)
{
    const TempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const struct {
        const char* what;
        const wchar_t* name;
        std::string bytes;
        size_t entries;
    } cases[] = {
        {"empty file", L"empty.txt", "", 0},
        {"UTF-8 lines", L"lines.txt", "Add=Добавить\r\nSave=Сохранить", 2},
        {"name outside ASCII", L"перевод.txt", "Add=Добавить\r\n", 1},
        {"UTF-16 LE, as Notepad saves", L"utf16.txt", utf16Bytes(u"\xFEFF" u"Add=Добавить\r\nSave=Сохранить", true), 2},
        {"UTF-16 BE", L"utf16be.txt", utf16Bytes(u"\xFEFF" u"Add=Добавить\r\n", false), 1},
        {"UTF-16 without byte-order mark", L"utf16bare.txt", std::string("A\0d\0d\0=\0P\0\r\0\n\0", 14), 0},
    };
    for (const auto& c : cases) {
        const std::wstring path = folder.file(c.name);
        ASSERT_TRUE(writeFileText(path, c.bytes)) << c.what;
        preloadTable();
        loadTranslationFile(utf8Of(path));
        EXPECT_EQ(translationTable.size(), c.entries) << c.what;
        EXPECT_STREQ(translate(u8("Earlier")).text(), "Earlier") << c.what;
        if (c.entries > 0) {
            EXPECT_STREQ(translate(u8("Add")).text(), "Добавить") << c.what;
        }
    }
    translationTable.clear();
}

// The UTF-16 units of an ASCII text.
static std::u16string units(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

TEST(TranslationFile, LargeFileIsReadUpToItsLastCompleteLine)
{
    const TempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const struct {
        const char* what;
        std::string bytes;
        const char* lastKey;  // the last entry kept, or null for none at all
        const char* lostKey;  // the first line that must not be read
    } cases[] = {
        {"line across the end of the buffer",
         fillerLines(kMiB - 20) + "Last=complete\r\n" + "Cut=whole line\r\nAfter=x\r\n", "Last", "Cut"},
        {"CR as the buffer's last byte", fillerLines(kMiB - 9) + "Edge=yes\r" + "\nNext=no\r\n", "Edge", "Next"},
        {"file of exactly the buffer's size", fillerLines(kMiB - 10) + "Edge=yes\r\n", "Edge", nullptr},
        {"one line longer than the buffer", "Add=" + std::string(2 * kMiB, 'x'), nullptr, "Add"},
        {"UTF-16 line across the end of the buffer",
         utf16Bytes(u"\xFEFF" + units(fillerLines(kMiB / 2 - 20) + "Last=complete\r\n" + "Cut=whole line\r\n"), true),
         "Last", "Cut"},
    };
    for (const auto& c : cases) {
        const std::wstring path = folder.file(L"large.txt");
        ASSERT_TRUE(writeFileText(path, c.bytes)) << c.what;
        preloadTable();
        loadTranslationFile(utf8Of(path));
        EXPECT_EQ(translationTable.find(u8("Earlier")), nullptr) << c.what;
        if (c.lastKey) {
            const Utf8String* last = translationTable.find(u8(c.lastKey));
            ASSERT_NE(last, nullptr) << c.what;
            EXPECT_STRNE(last->text(), "") << c.what;
            EXPECT_NE(translationTable.find(u8("f0000000")), nullptr) << c.what;
        } else {
            EXPECT_EQ(translationTable.size(), 0u) << c.what;
        }
        if (c.lostKey) {
            EXPECT_EQ(translationTable.find(u8(c.lostKey)), nullptr) << c.what;
        }
    }
    translationTable.clear();
}

// Every key the program looks up.
static const char* const kKeys[] = {
    "%sResize %s...\\command", "helpfilename", "Error", "Format is invalid", "&Help", "&Open help ...",
    "&About ...", "Pellavo", "&List of size:", "&Enter size (WxH):", "&Add", "&Save", "Cancel", "&Delete",
    "About program", "OK", "Create cool avatar", "Version:", "&Web-page", "&Feedback",
    "for all users", "for this user",
    "The language could not be changed.", "The list of sizes could not be saved.",
    "The context-menu items could not be changed.",
    "Administrator rights are needed: start Pellavo from the Start menu or with Run as administrator.",
    "Pellavo's folder or its files cannot be written: check that they are not read-only and that no other "
    "program holds them.",
    "The saved sizes cannot be read from settings.txt: another program may hold it, or rights are missing. "
    "Nothing is saved until it can be read.",
    "settings.txt holds no size that can be read: it may be saved in an encoding that is not known. "
    "The list starts empty; saving keeps the old file as %s.",
    "The old settings.txt is kept beside the program as %s.",
    "settings.txt cannot be kept as %s, so it is not replaced. Nothing is saved.",
    "Resizing %d of %d...", "Copies made: %d of %d.", "No copy was made of:", "not a picture", "cannot be read",
    "cannot write beside it", "too large", "no installed codec reads this kind of picture", "could not be started",
    "...and %d more.", "quality %s", "no location", "colour profile only", "never larger", "picture's date",
    "settings.txt holds words that are no options of a size, which the list leaves out: %s. Saving keeps the old "
    "file as %s.", "&Format:", "as the picture", "&Quality (1-100):", "De&tails:", "all", "&Never larger",
    "&Keep the picture's date"};

static int countOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(ShippedTranslations, EveryFileIsUtf8WithCrLfLines)
{
    for (const char* name : {"local\\rus_translate.txt", "local\\en_translate.txt"}) {
        const std::optional<std::string> bytes = readFileText(wideOf(fileBesideExecutable(name)));
        ASSERT_TRUE(bytes) << name;
        EXPECT_NE(bytes->rfind("\xEF\xBB\xBF", 0), 0u) << name << " starts with a byte-order mark";
        EXPECT_EQ(countOf(*bytes, "\r"), countOf(*bytes, "\r\n")) << name;
        EXPECT_EQ(countOf(*bytes, "\n"), countOf(*bytes, "\r\n")) << name;
        EXPECT_EQ(bytes->find('\0'), std::string::npos) << name;
    }
}

TEST(ShippedTranslations, EveryFileTranslatesEveryKey)
{
    const struct {
        const char* name;
        const char* helpFile;
        const char* help;
        const char* add;
    } languages[] = {
        {"local\\rus_translate.txt", "help_ru.html", "&Справка", "&Добавить"},
        {"local\\en_translate.txt", "help_en.html", "&Help", "&Add"},
    };
    for (const auto& language : languages) {
        translationTable.clear();
        loadTranslationFile(fileBesideExecutable(language.name));
        EXPECT_EQ(translationTable.size(), std::size(kKeys)) << language.name;
        for (const char* key : kKeys) {
            const Utf8String* text = translationTable.find(u8(key));
            ASSERT_NE(text, nullptr) << language.name << ": " << key;
            EXPECT_GT(text->charCount(), 0u) << language.name << ": " << key;
            // A format's translation takes as many values as its key.
            for (const char* conversion : {"%d", "%s"})
                EXPECT_EQ(countOf(text->text(), conversion), countOf(key, conversion)) << language.name << ": " << key;
        }
        EXPECT_STREQ(translate(u8("helpfilename")).text(), language.helpFile);
        EXPECT_STREQ(translate(u8("&Help")).text(), language.help);
        EXPECT_STREQ(translate(u8("&Add")).text(), language.add);

        // The verb's text is a format for its registry key path.
        const std::string verb = translate(u8(kKeys[0])).text();
        EXPECT_EQ(countOf(verb, "%s"), 2) << language.name;
        EXPECT_EQ(countOf(verb, "%"), 2) << language.name;
        EXPECT_EQ(verb.rfind("%s", 0), 0u) << language.name;
        const std::string tail = "\\command";
        ASSERT_GT(verb.size(), tail.size());
        EXPECT_EQ(verb.substr(verb.size() - tail.size()), tail) << language.name;
        EXPECT_EQ(countOf(verb, "\\"), 1) << language.name;
    }
    translationTable.clear();
}

TEST(ShippedTranslations, DescribeWhatAPresetChangesInEitherLanguage)
{
    const struct {
        const char* file;
        const char* preset;
        const char* verb;
        const char* listed;
    } rows[] = {
        {"local\\en_translate.txt", "800x600", "800x600", "800x600"},
        {"local\\en_translate.txt", "1024x768 jpeg quality=85 no-location", "1024x768 (JPEG 85, no location)",
         "1024x768 - JPEG 85, no location"},
        {"local\\en_translate.txt", "1600x1600 webp never-larger keep-date",
         "1600x1600 (WebP, never larger, picture's date)", "1600x1600 - WebP, never larger, picture's date"},
        {"local\\en_translate.txt", "800x600 quality=70 profile-only", "800x600 (quality 70, colour profile only)",
         "800x600 - quality 70, colour profile only"},
        // A PNG copy is lossless whatever quality the preset names.
        {"local\\en_translate.txt", "800x600 png quality=70", "800x600 (PNG)", "800x600 - PNG"},
        {"local\\rus_translate.txt", "800x600", "800x600", "800x600"},
        {"local\\rus_translate.txt", "1024x768 jpeg quality=85 no-location", "1024x768 (JPEG 85, без геоданных)",
         "1024x768 - JPEG 85, без геоданных"},
        {"local\\rus_translate.txt", "1600x1600 webp never-larger keep-date profile-only",
         "1600x1600 (WebP, только цветовой профиль, не крупнее оригинала, дата оригинала)",
         "1600x1600 - WebP, только цветовой профиль, не крупнее оригинала, дата оригинала"},
        {"local\\rus_translate.txt", "800x600 quality=70", "800x600 (качество 70)", "800x600 - качество 70"},
    };
    for (const auto& row : rows) {
        translationTable.clear();
        loadTranslationFile(fileBesideExecutable(row.file));
        Preset preset;
        ASSERT_TRUE(parsePresetText(u8(row.preset), preset)) << row.preset;
        EXPECT_STREQ(verbPresetText(preset).text(), row.verb) << row.file << ": " << row.preset;
        EXPECT_STREQ(listedPresetText(preset).text(), row.listed) << row.file << ": " << row.preset;
    }
    translationTable.clear();
}

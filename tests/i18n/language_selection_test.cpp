#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "base/module_path.h"
#include "i18n/language_selection.h"
#include "i18n/translation_table.h"
#include "tests/support/file_guards.h"
#include "tests/support/file_system.h"
#include "tests/support/temp_folder.h"
#include "tests/support/utf8_conversion.h"

static Utf8String u8(const char* text)
{
    return Utf8String::fromUtf8(text, 0);
}

static std::wstring besideExecutable(const char* name)
{
    return wideOf(fileBesideExecutable(name));
}

static const std::string kRussian = "Add=Добавить\r\nhelpfilename=help_ru.html\r\n";
static const std::string kEnglish = "Add=Add\r\nhelpfilename=help_en.html\r\n";

// The running program is the test program: its language files are put
// beside it for each test, and whatever was there is put back afterwards.
class LanguageSelection : public testing::Test {
protected:
    void TearDown() override { translationTable.clear(); }

    std::optional<std::string> currentFile() const { return readFileText(besideExecutable("current_translate.txt")); }

    EnsuredFolder local_{besideExecutable("local")};
    SubstitutedFile russian_{besideExecutable("local\\rus_translate.txt"), kRussian};
    SubstitutedFile english_{besideExecutable("local\\en_translate.txt"), kEnglish};
    SubstitutedFile current_{besideExecutable("current_translate.txt"), std::nullopt};
};

TEST_F(LanguageSelection, EachCodeMakesItsLanguageCurrent)
{
    ASSERT_TRUE(russian_.ready() && english_.ready() && current_.ready());
    const struct {
        const char* code;
        const std::string* file;
        const char* add;
    } steps[] = {
        {"RUS", &kRussian, "Добавить"},
        {"EN", &kEnglish, "Add"},
        {"RUS", &kRussian, "Добавить"},
        {"RUS", &kRussian, "Добавить"},  // the current language again
    };
    for (const auto& step : steps) {
        EXPECT_TRUE(selectLanguage(u8(step.code))) << step.code;
        EXPECT_EQ(currentFile(), *step.file) << step.code;
        loadCurrentTranslation();
        EXPECT_STREQ(translate(u8("Add")).text(), step.add) << step.code;
        EXPECT_EQ(translationTable.size(), 2u) << step.code;
    }
}

TEST_F(LanguageSelection, OtherCodesTouchNothing)
{
    ASSERT_TRUE(russian_.ready() && english_.ready() && current_.ready());
    for (const char* code : {"rus", "Rus", "en", "En", "ENG", "RU", "", " RUS", "EN ", "Русский", "English"}) {
        selectLanguage(u8(code));
        EXPECT_FALSE(currentFile()) << "[" << code << "] made the current file";
    }
    const std::string current = "Add=Current\r\n";
    ASSERT_TRUE(writeFileText(besideExecutable("current_translate.txt"), current));
    for (const char* code : {"rus", "en", "ENG"}) {
        EXPECT_FALSE(selectLanguage(u8(code))) << code;
        EXPECT_EQ(currentFile(), current) << code;
    }
}

TEST_F(LanguageSelection, MissingSourceKeepsThePreviousLanguage)
{
    ASSERT_TRUE(russian_.ready() && english_.ready() && current_.ready());
    selectLanguage(u8("EN"));
    loadCurrentTranslation();
    ASSERT_STREQ(translate(u8("helpfilename")).text(), "help_en.html");

    const SubstitutedFile noRussian(besideExecutable("local\\rus_translate.txt"), std::nullopt);
    ASSERT_TRUE(noRussian.ready());
    EXPECT_FALSE(selectLanguage(u8("RUS")));
    loadCurrentTranslation();
    EXPECT_EQ(currentFile(), kEnglish);
    EXPECT_STREQ(translate(u8("helpfilename")).text(), "help_en.html");
}

TEST_F(LanguageSelection, MissingCurrentFileKeepsTheTableUntilALanguageIsChosen)
{
    ASSERT_TRUE(russian_.ready() && english_.ready() && current_.ready());
    translationTable.clear();
    loadCurrentTranslation();
    EXPECT_EQ(translationTable.size(), 0u);
    EXPECT_STREQ(translate(u8("Add")).text(), "Add");

    selectLanguage(u8("RUS"));
    loadCurrentTranslation();
    EXPECT_STREQ(translate(u8("Add")).text(), "Добавить");

    ASSERT_TRUE(DeleteFileW(besideExecutable("current_translate.txt").c_str()));
    loadCurrentTranslation();
    EXPECT_STREQ(translate(u8("Add")).text(), "Добавить");
}

TEST_F(LanguageSelection, FilesAreFoundBesideTheProgramNotInTheCurrentFolder)
{
    ASSERT_TRUE(russian_.ready() && english_.ready() && current_.ready());
    const TempFolder elsewhere;
    ASSERT_FALSE(elsewhere.path().empty());
    ASSERT_TRUE(writeFileText(elsewhere.file(L"current_translate.txt"), "Add=Wrong folder\r\n"));
    wchar_t previous[MAX_PATH] = {};
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryW(elsewhere.path().c_str()));

    selectLanguage(u8("RUS"));
    loadCurrentTranslation();
    SetCurrentDirectoryW(previous);
    EXPECT_STREQ(translate(u8("Add")).text(), "Добавить");
    EXPECT_EQ(readFileText(elsewhere.file(L"current_translate.txt")), std::string("Add=Wrong folder\r\n"));
}

#include <gtest/gtest.h>

#include "i18n/translation_table.h"
#include "ui/save_failure_message.h"

TEST(SaveFailureMessage, NamesEachFailureOnALineThenWhatToDoInTheCurrentLanguage)
{
    const char russian[] =
        "The language could not be changed.=Язык не сменён.\r\n"
        "The list of sizes could not be saved.=Список не сохранён.\r\n"
        "Administrator rights are needed: start Pellavo from the Start menu or with Run as administrator.=Нужен "
        "администратор.\r\n";
    const char* const advice =
        "Administrator rights are needed: start Pellavo from the Start menu or with Run as administrator.";
    const struct {
        SaveFailures failures;
        bool translated;
        std::string message;
    } rows[] = {
        {{false, false, false}, false, ""},
        {{false, true, false}, false, std::string("The list of sizes could not be saved.\n\n") + advice},
        {{true, true, true}, false,
         std::string("The language could not be changed.\nThe list of sizes could not be saved.\n"
                     "The context-menu items could not be changed.\n\n") +
             advice},
        {{false, false, false}, true, ""},
        // A copy for one user needs no administrator: its own files stand in the way.
        {{false, true, false, false}, false,
         "The list of sizes could not be saved.\n\nPellavo's folder or its files cannot be written: check that they "
         "are not read-only and that no other program holds them."},
        // A key without an entry shows in English, beside the translated ones.
        {{true, true, true}, true,
         "Язык не сменён.\nСписок не сохранён.\nThe context-menu items could not be changed.\n\nНужен администратор."},
    };
    for (const auto& row : rows) {
        translationTable.clear();
        if (row.translated) translationTable.readText(russian, sizeof russian - 1);
        EXPECT_EQ(saveFailureMessage(row.failures).text(), row.message);
    }
    translationTable.clear();
}

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "batch/batch_account.h"
#include "batch/copy_folders.h"
#include "batch/progress_text.h"
#include "i18n/translation_table.h"

static Utf8String text(const char* value)
{
    return Utf8String::fromUtf8(value, 0);
}

TEST(BatchText, ProgressLinesFollowTheTranslatedFormat)
{
    const struct {
        const char* format;
        const char* line;
    } rows[] = {
        {"Resizing %d of %d...", "Resizing 12 of 40..."},
        {"Изменяю размер: %d из %d...", "Изменяю размер: 12 из 40..."},
        {"%d/%d", "12/40"},
        // Broken translations give way to the English line.
        {"Resizing %d...", "Resizing 12 of 40..."},
        {"Resizing %d of %d of %d", "Resizing 12 of 40..."},
        {"Resizing %s of %s...", "Resizing 12 of 40..."},
        {"%n %d%%d", "%n 12%40"},
        {"", "Resizing 12 of 40..."},
    };
    for (const auto& row : rows) EXPECT_STREQ(progressText(text(row.format), 12, 40).text(), row.line) << row.format;
}

TEST(BatchText, CopiesAreGroupedByFolderInTheOrderMet)
{
    const std::vector<Utf8String> copies = {
        text("C:\\a\\one_800x600.jpg"), text("C:\\b\\two_800x600.jpg"),   text("C:\\A\\three_800x600.jpg"),
        text("no folder.jpg"),          text("C:\\b\\c\\four_800x600.gif"), text("\\\\server\\share\\x.png")};
    const std::vector<FolderCopies> groups = copiesByFolder(copies);
    const struct {
        const char* folder;
        std::vector<const char*> names;
    } expected[] = {
        {"C:\\a", {"one_800x600.jpg", "three_800x600.jpg"}},
        {"C:\\b", {"two_800x600.jpg"}},
        {"C:\\b\\c", {"four_800x600.gif"}},
        {"\\\\server\\share", {"x.png"}},
    };
    ASSERT_EQ(groups.size(), std::size(expected));
    for (size_t i = 0; i < groups.size(); ++i) {
        EXPECT_STREQ(groups[i].folder.text(), expected[i].folder);
        ASSERT_EQ(groups[i].names.size(), expected[i].names.size()) << expected[i].folder;
        for (size_t n = 0; n < groups[i].names.size(); ++n) EXPECT_STREQ(groups[i].names[n].text(), expected[i].names[n]);
    }
}

TEST(BatchText, AnAccountCountsTheCopiesAndNamesEachFailedPictureWithItsReason)
{
    const char russian[] =
        "Copies made: %d of %d.=Сделано копий: %d из %d.\r\n"
        "No copy was made of:=Без копии остались:\r\n"
        "not a picture=не картинка\r\n"
        "cannot be read=не читается\r\n"
        "could not be started=не удалось начать\r\n"
        "...and %d more.=...и ещё %d.\r\n";
    const std::vector<FailedPicture> three = {
        {text("C:\\Photos\\notes.jpg"), ResizeOutcome::NotAPicture},
        {text("C:\\Photos\\locked.png"), ResizeOutcome::Unreadable},
        {text("D:\\Архив/старое фото.gif"), ResizeOutcome::Unwritable},
    };
    const struct {
        bool translated;
        uint32_t copies;
        std::vector<FailedPicture> failures;
        const char* account;
    } rows[] = {
        {false, 7, three,
         "Copies made: 7 of 10.\nNo copy was made of:\nnotes.jpg — not a picture\nlocked.png — cannot be read\n"
         "старое фото.gif — cannot write beside it"},
        // A key without an entry stays English beside the translated ones.
        {true, 7, three,
         "Сделано копий: 7 из 10.\nБез копии остались:\nnotes.jpg — не картинка\nlocked.png — не читается\n"
         "старое фото.gif — cannot write beside it"},
        {false, 0, {{text("big.jpg"), ResizeOutcome::TooLarge}}, "Copies made: 0 of 10.\nNo copy was made of:\nbig.jpg — too large"},
        {false, 0, {{text("huge.jpg"), ResizeOutcome::OutOfMemory}}, "Copies made: 0 of 10.\nNo copy was made of:\nhuge.jpg — too large"},
        {false, 0, {{text("IMG_0042.heic"), ResizeOutcome::NoInstalledCodec}},
         "Copies made: 0 of 10.\nNo copy was made of:\nIMG_0042.heic — no installed codec reads this kind of picture"},
        // A picture that a batch never began has no outcome of its own.
        {true, 0, {{text("C:\\queued.png"), std::nullopt}}, "Сделано копий: 0 из 10.\nБез копии остались:\nqueued.png — не удалось начать"},
    };
    for (const auto& row : rows) {
        translationTable.clear();
        if (row.translated) translationTable.readText(russian, sizeof russian - 1);
        EXPECT_STREQ(batchAccount(row.copies, 10, row.failures).text(), row.account);
    }
    translationTable.clear();
}

TEST(BatchText, AnAccountStaysShortWhateverFailed)
{
    std::vector<FailedPicture> failures;
    for (int i = 1; i <= 13; ++i)
        failures.push_back({text(("C:\\scans\\page " + std::to_string(i) + ".png").c_str()), ResizeOutcome::Unreadable});
    const std::string many = batchAccount(0, 13, failures).text();
    EXPECT_EQ(std::count(many.begin(), many.end(), '\n'), 2 + 10) << many;
    EXPECT_NE(many.find("page 10.png"), std::string::npos);
    EXPECT_EQ(many.find("page 11.png"), std::string::npos);
    EXPECT_EQ(many.substr(many.rfind('\n') + 1), "...and 3 more.");

    // A long name keeps its start and its end, extension and number.
    const std::string name = std::string(70, 'a') + "0123456789photo 12.jpg";
    const std::string line = batchAccount(0, 1, {{text(("C:\\" + name).c_str()), ResizeOutcome::TooLarge}}).text();
    EXPECT_NE(line.find("\n" + std::string(39, 'a') + "…" + "23456789photo 12.jpg — too large"), std::string::npos) << line;

    // A broken translation of a count gives way to the English line.
    const char broken[] = "Copies made: %d of %d.=Копий: %d.\r\n...and %d more.=и ещё\r\n";
    translationTable.readText(broken, sizeof broken - 1);
    const std::string english = batchAccount(2, 15, failures).text();
    translationTable.clear();
    EXPECT_EQ(english.substr(0, english.find('\n')), "Copies made: 2 of 15.");
    EXPECT_EQ(english.substr(english.rfind('\n') + 1), "...and 3 more.");
}

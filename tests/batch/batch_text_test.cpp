#include <gtest/gtest.h>

#include <vector>

#include "batch/copy_folders.h"
#include "batch/progress_text.h"

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

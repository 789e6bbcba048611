#include <gtest/gtest.h>

#include "shell/folder_rule.h"

TEST(FolderRule, APathIsUnderAFolderOnlyWhenItsWholeNameLeadsThere)
{
    const struct {
        const char* path;
        const char* folder;
        bool under;
    } rows[] = {
        {"C:\\Program Files\\Pellavo\\pellavo.exe", "C:\\Program Files", true},
        {"C:\\Program Files\\Pellavo\\pellavo.exe", "C:\\Program Files\\", true},
        {"c:\\program files\\pellavo\\pellavo.exe", "C:\\PROGRAM FILES", true},
        {"C:\\PROGRAM FILES\\Pellavo\\pellavo.exe", "c:\\program files\\", true},
        {"C:\\Program Files (x86)\\Pellavo\\pellavo.exe", "C:\\Program Files (x86)", true},
        {"C:\\Program Files (x86)\\Pellavo\\pellavo.exe", "C:\\Program Files", false},
        {"C:\\Program Files Extra\\pellavo.exe", "C:\\Program Files", false},
        {"C:\\Program Files Extra\\pellavo.exe", "C:\\Program Files\\", false},
        {"C:\\Program Files", "C:\\Program Files", false},
        {"C:\\Program Files\\", "C:\\Program Files", false},
        {"C:\\users\\anna\\AppData\\Local\\Programs\\Pellavo\\pellavo.exe", "C:\\Program Files", false},
        {"D:\\Program Files\\Pellavo\\pellavo.exe", "C:\\Program Files", false},
        // Short forms, already made long by the caller, and one left short.
        {"C:\\Program Files\\Pellavo\\pellavo.exe", "C:\\Program Files\\\\", true},
        {"C:\\PROGRA~1\\Pellavo\\pellavo.exe", "C:\\Program Files", false},
        {"C:\\Program Files\\Пеллаво\\pellavo.exe", "C:\\program files", true},
        {"C:\\Program Files\\pellavo.exe", "", false},
        {"C:\\Program Files\\pellavo.exe", "\\", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(isUnderFolder(Utf8String::fromUtf8(row.path, 0), Utf8String::fromUtf8(row.folder, 0)), row.under)
            << row.path << " in " << row.folder;
    }
}

TEST(FolderRule, EveryProgramFilesFolderOfTheProcessCountsEmptyOnesNone)
{
    // The folders as registrationScope gathers them: the known Program Files,
    // the known Program Files (x86), and %ProgramW6432%.
    const struct {
        const char* path;
        std::vector<const char*> folders;
        bool under;
    } rows[] = {
        // A 64-bit process on 64-bit Windows.
        {"C:\\Program Files\\Pellavo\\pellavo.exe", {"C:\\Program Files", "C:\\Program Files (x86)", "C:\\Program Files"}, true},
        // A 32-bit process on 64-bit Windows: both known folders are (x86).
        {"C:\\Program Files\\Pellavo\\pellavo.exe",
         {"C:\\Program Files (x86)", "C:\\Program Files (x86)", "C:\\Program Files"}, true},
        {"C:\\Program Files (x86)\\Pellavo\\pellavo.exe",
         {"C:\\Program Files (x86)", "C:\\Program Files (x86)", "C:\\Program Files"}, true},
        // 32-bit Windows: no %ProgramW6432%, nor a known (x86) folder.
        {"C:\\Program Files\\Pellavo\\pellavo.exe", {"C:\\Program Files", "", ""}, true},
        {"C:\\Tools\\Pellavo\\pellavo.exe", {"C:\\Program Files", "", ""}, false},
        {"C:\\Tools\\Pellavo\\pellavo.exe", {"", "", ""}, false},
        {"C:\\users\\anna\\AppData\\Local\\Programs\\Pellavo\\pellavo.exe",
         {"C:\\Program Files (x86)", "C:\\Program Files (x86)", "C:\\Program Files"}, false},
    };
    for (const auto& row : rows) {
        std::vector<Utf8String> folders;
        for (const char* folder : row.folders) folders.push_back(Utf8String::fromUtf8(folder, 0));
        EXPECT_EQ(isUnderAnyFolder(Utf8String::fromUtf8(row.path, 0), folders), row.under) << row.path;
    }
}

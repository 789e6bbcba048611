#include <gtest/gtest.h>

#include "base/executable_directory.h"

TEST(ExecutableDirectory, KeepsThePathUpToItsLastBackslash)
{
    const struct {
        const char* path;
        const char* directory;
    } rows[] = {
        {"C:\\Program Files\\Pellavo\\pellavo.exe", "C:\\Program Files\\Pellavo\\"},
        {"C:\\pellavo.exe", "C:\\"},
        {"\\\\server\\share\\Программы\\pellavo.exe", "\\\\server\\share\\Программы\\"},
        {"pellavo.exe", ""},
        {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_STREQ(executableDirectory(Utf8String::fromUtf8(row.path, 0)).text(), row.directory) << row.path;
}

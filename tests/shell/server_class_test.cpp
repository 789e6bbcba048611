#include <gtest/gtest.h>

#include "shell/server_class.h"

static Utf8String text(const char* value)
{
    return Utf8String::fromUtf8(value, 0);
}

TEST(ServerClass, IdsCarryTheSizeAndReadBack)
{
    const struct {
        ImageSize size;
        bool forAllUsers;
        const char* classId;
    } rows[] = {
        // For every user as every earlier release wrote them; for a user
        // alone another last byte, so that neither shadows the other.
        {{800, 600}, true, "{00000320-0000-0258-9A4E-2C6150117DB3}"},
        {{800, 600}, false, "{00000320-0000-0258-9A4E-2C6150117D3E}"},
        {{1, 1}, true, "{00000001-0000-0001-9A4E-2C6150117DB3}"},
        {{65536, 70000}, false, "{00010000-0001-1170-9A4E-2C6150117D3E}"},
        {{INT32_MAX, INT32_MAX}, true, "{7FFFFFFF-7FFF-FFFF-9A4E-2C6150117DB3}"},
        {{0, 600}, true, ""},
        {{800, -1}, false, ""},
    };
    for (const auto& row : rows) {
        EXPECT_STREQ(serverClassId(row.size, row.forAllUsers).text(), row.classId)
            << row.size.width << "x" << row.size.height;
        ImageSize read;
        if (*row.classId) {
            EXPECT_TRUE(parseServerClassId(text(row.classId), read));
            EXPECT_EQ(read, row.size);
        }
    }
}

TEST(ServerClass, OnlyWellFormedIdsOfTheProgramAreItsOwn)
{
    for (const char* classId : {
             "{00000320-0000-0258-9a4e-2c6150117db3}",  // letter case does not matter
         }) {
        ImageSize read;
        EXPECT_TRUE(parseServerClassId(text(classId), read)) << classId;
    }
    for (const char* classId : {
             "", "{00000320-0000-0258-9A4E-2C6150117DB4}", "{00000320-0000-0258-9A4E-2C6150117DB3",
             "00000320-0000-0258-9A4E-2C6150117DB3}", "{00000000-0000-0258-9A4E-2C6150117DB3}",
             "{80000000-0000-0258-9A4E-2C6150117DB3}", "{00000320-8000-0000-9A4E-2C6150117DB3}",
             "{00000320-0000-0258-9A4E-2C6150117DB3}\\..", "{0000032G-0000-0258-9A4E-2C6150117DB3}",
             "{00000320+0000-0258-9A4E-2C6150117DB3}", "{000-00320-0000-0258-9A4E2C6150117DB3}"}) {
        ImageSize read;
        EXPECT_FALSE(parseServerClassId(text(classId), read)) << classId;
    }
}

TEST(ServerClass, ServerCommandsAndTheirArguments)
{
    EXPECT_STREQ(serverCommand(text("C:\\Program Files\\Pellavo\\pellavo.exe"), ImageSize{800, 600}).text(),
                 "\"C:\\Program Files\\Pellavo\\pellavo.exe\" -serve 800x600");
    EXPECT_STREQ(serverCommand(text(std::string(260, 'a').c_str()), ImageSize{800, 600}).text(), "");

    const struct {
        const char* arguments;
        bool read;
        ImageSize size;
    } rows[] = {
        {"-serve 800x600 -Embedding", true, {800, 600}},
        {"-serve 1024x768", true, {1024, 768}},
        {"-serve 800X600 -Embedding", false, {}},
        {"-serve  800x600", false, {}},
        {"-serve 0x600", false, {}},
        {"-size 800x600 -serve 800x600", false, {}},
        {"-serve", false, {}},
    };
    for (const auto& row : rows) {
        ImageSize size;
        EXPECT_EQ(parseServeArguments(text(row.arguments), size), row.read) << row.arguments;
        if (row.read) {
            EXPECT_EQ(size, row.size) << row.arguments;
        }
    }
}

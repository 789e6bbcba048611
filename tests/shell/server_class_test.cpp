#include <gtest/gtest.h>

#include "settings/preset_text.h"
#include "shell/server_class.h"

static Utf8String text(const char* value)
{
    return Utf8String::fromUtf8(value, 0);
}

static PresetOptions optionsOf(const char* words)
{
    Preset preset;
    parsePresetText(Utf8String::concat(Utf8String::fromAnsi("1x1 "), text(words)), preset);
    return preset.options;
}

TEST(ServerClass, IdsCarryThePresetAndReadBack)
{
    const struct {
        ImageSize size;
        bool forAllUsers;
        const char* classId;
        const char* words = "";
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
        // Options change the two bytes before the last, so that each preset
        // of a size has a class of its own; a plain one keeps its size's id.
        {{800, 600}, true, "{00000320-0000-0258-9A4E-2C6150117CB3}", "jpeg"},
        {{800, 600}, false, "{00000320-0000-0258-9A4E-2C6150447F3E}", "png quality=85"},
        {{800, 600}, true, "{00000320-0000-0258-9A4E-2C61507546B3}", "webp quality=100 profile-only never-larger keep-date"},
        {{800, 600}, true, "{00000320-0000-0258-9A4E-2C61501179B3}", "no-location"},
    };
    for (const auto& row : rows) {
        const Preset preset{row.size, optionsOf(row.words)};
        EXPECT_STREQ(serverClassId(preset, row.forAllUsers).text(), row.classId) << row.classId << " " << row.words;
        Preset read;
        if (*row.classId) {
            EXPECT_TRUE(parseServerClassId(text(row.classId), read)) << row.classId;
            EXPECT_EQ(read, preset) << row.classId;
        }
    }
}

TEST(ServerClass, OnlyWellFormedIdsOfTheProgramAreItsOwn)
{
    for (const char* classId : {
             "{00000320-0000-0258-9a4e-2c6150117db3}",  // letter case does not matter
         }) {
        Preset read;
        EXPECT_TRUE(parseServerClassId(text(classId), read)) << classId;
    }
    for (const char* classId : {
             "", "{00000320-0000-0258-9A4E-2C6150117DB4}", "{00000320-0000-0258-9A4E-2C6150117DB3",
             "00000320-0000-0258-9A4E-2C6150117DB3}", "{00000000-0000-0258-9A4E-2C6150117DB3}",
             "{80000000-0000-0258-9A4E-2C6150117DB3}", "{00000320-8000-0000-9A4E-2C6150117DB3}",
             "{00000320-0000-0258-9A4E-2C6150117DB3}\\..", "{0000032G-0000-0258-9A4E-2C6150117DB3}",
             "{00000320+0000-0258-9A4E-2C6150117DB3}", "{000-00320-0000-0258-9A4E2C6150117DB3}",
             // Option bytes that name no preset: a quality over 100, a kind of details past the last.
             "{00000320-0000-0258-9A4E-2C6150FF7DB3}", "{00000320-0000-0258-9A4E-2C615011F1B3}",
             "{00000320-0000-0258-9A4E-2C61501171B3}"}) {
        Preset read;
        EXPECT_FALSE(parseServerClassId(text(classId), read)) << classId;
    }
}

TEST(ServerClass, ServerCommandsAndTheirArguments)
{
    EXPECT_STREQ(serverCommand(text("C:\\Program Files\\Pellavo\\pellavo.exe"), Preset{{800, 600}, {}}).text(),
                 "\"C:\\Program Files\\Pellavo\\pellavo.exe\" -serve 800x600");
    EXPECT_STREQ(serverCommand(text("C:\\pellavo.exe"), Preset{{800, 600}, optionsOf("jpeg no-location")}).text(),
                 "\"C:\\pellavo.exe\" -serve 800x600 jpeg no-location");
    EXPECT_STREQ(serverCommand(text(std::string(260, 'a').c_str()), Preset{{800, 600}, {}}).text(), "");

    const struct {
        const char* arguments;
        bool read;
        ImageSize size;
        const char* words = "";
    } rows[] = {
        {"-serve 800x600 -Embedding", true, {800, 600}},
        {"-serve 800x600 jpeg quality=85 no-location -Embedding", true, {800, 600}, "jpeg quality=85 no-location"},
        {"-serve 800x600 webp keep-date", true, {800, 600}, "webp keep-date"},
        {"-serve 1024x768", true, {1024, 768}},
        {"-serve 800X600 -Embedding", false, {}},
        {"-serve  800x600", false, {}},
        {"-serve 0x600", false, {}},
        {"-size 800x600 -serve 800x600", false, {}},
        {"-serve", false, {}},
    };
    for (const auto& row : rows) {
        Preset preset;
        EXPECT_EQ(parseServeArguments(text(row.arguments), preset), row.read) << row.arguments;
        if (row.read) {
            EXPECT_EQ(preset, (Preset{row.size, optionsOf(row.words)})) << row.arguments;
        }
    }
}

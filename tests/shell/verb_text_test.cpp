#include <gtest/gtest.h>

#include <string>

#include "shell/verb_text.h"

static Utf8String text(const char* value)
{
    return Utf8String::fromUtf8(value, 0);
}

TEST(VerbText, KeyPathsFollowTheTranslatedFormat)
{
    const Utf8String prefix = text("jpegfile\\shell\\");
    const struct {
        const char* format;
        const char* path;
    } rows[] = {
        {"%sResize %s...\\command", "jpegfile\\shell\\Resize 800x600...\\command"},
        {"%sУменьшить до %s...\\command", "jpegfile\\shell\\Уменьшить до 800x600...\\command"},
        {"%s&Resize %s\\command", "jpegfile\\shell\\&Resize 800x600\\command"},
        // Broken translations fall back to the English verb.
        {"%sResize...\\command", "jpegfile\\shell\\Resize 800x600...\\command"},
        {"%sResize %s %s...\\command", "jpegfile\\shell\\Resize 800x600...\\command"},
        {"%sResize %s...", "jpegfile\\shell\\Resize 800x600...\\command"},
        {"%n%sResize %d%s...\\command", "%njpegfile\\shell\\Resize %d800x600...\\command"},
        {"", "jpegfile\\shell\\Resize 800x600...\\command"},
    };
    for (const auto& row : rows)
        EXPECT_STREQ(verbKeyPath(text(row.format), prefix, text("800x600")).text(), row.path) << row.format;
}

TEST(VerbText, CommandsQuoteTheProgramPathAndCarryThePresetsWords)
{
    const Utf8String program = text("C:\\Program Files\\Pellavo\\pellavo.exe");
    PresetOptions web;
    web.kind = CopyKind::WebP;
    web.neverLarger = true;
    web.keepDate = true;
    PresetOptions mail;
    mail.kind = CopyKind::Jpeg;
    mail.quality = 85;
    mail.details = KeptDetails::AllButLocation;
    PresetOptions bare;
    bare.details = KeptDetails::ColourProfileOnly;
    const struct {
        Preset preset;
        const char* command;
    } rows[] = {
        {{{800, 600}, {}}, "\"C:\\Program Files\\Pellavo\\pellavo.exe\" -size 800x600 %1"},
        {{{1600, 1600}, web},
         "\"C:\\Program Files\\Pellavo\\pellavo.exe\" -size 1600x1600 webp never-larger keep-date %1"},
        {{{1024, 768}, mail},
         "\"C:\\Program Files\\Pellavo\\pellavo.exe\" -size 1024x768 jpeg quality=85 no-location %1"},
        {{{640, 480}, bare}, "\"C:\\Program Files\\Pellavo\\pellavo.exe\" -size 640x480 profile-only %1"},
    };
    for (const auto& row : rows) EXPECT_STREQ(verbCommand(program, row.preset).text(), row.command);
}

TEST(VerbText, TextsThatWouldNotFitAreRefusedNotCut)
{
    const std::string longFolder = "C:\\" + std::string(230, 'a') + "\\pellavo.exe";
    EXPECT_EQ(verbCommand(text(longFolder.c_str()), Preset{{800, 600}, {}}).charCount(), 0u);
    const std::string fitting = "C:\\" + std::string(225, 'a') + "\\pellavo.exe";
    EXPECT_EQ(verbCommand(text(fitting.c_str()), Preset{{800, 600}, {}}).charCount(), 259u);

    const std::string longFormat = "%s" + std::string(240, 'b') + " %s...\\command";
    EXPECT_EQ(verbKeyPath(text(longFormat.c_str()), text("jpegfile\\shell\\"), text("800x600")).charCount(), 0u);
}

TEST(VerbText, TheVerbKeyCarriesTheProgramsFirstIcon)
{
    const Utf8String keyPath = verbKeyPath(verbKeyFormat(), text("SystemFileAssociations\\.jpg\\shell\\"),
                                           text("800x600"));
    EXPECT_STREQ(verbKeyOf(keyPath).text(), "SystemFileAssociations\\.jpg\\shell\\Resize 800x600...");
    EXPECT_STREQ(verbIcon(text("C:\\Program Files\\Pellavo\\pellavo.exe")).text(),
                 "C:\\Program Files\\Pellavo\\pellavo.exe,0");
    EXPECT_EQ(verbIcon(text(("C:\\" + std::string(250, 'a') + ".exe").c_str())).charCount(), 259u);
    EXPECT_EQ(verbIcon(text(("C:\\" + std::string(251, 'a') + ".exe").c_str())).charCount(), 0u);
}

TEST(VerbText, OwnershipGoesByTheProgramPathInAnyCase)
{
    const Utf8String program = text("C:\\Tools\\Pellavo\\pellavo.exe");
    EXPECT_TRUE(isOwnVerbCommand(text("\"C:\\Tools\\Pellavo\\pellavo.exe\" -size 8x6 %1"), program));
    EXPECT_TRUE(isOwnVerbCommand(text("c:\\tools\\pellavo\\PELLAVO.EXE -size 8x6 %1"), program));
    EXPECT_TRUE(isOwnVerbCommand(text("\"C:\\Tools\\Pellavo\\pellavo.exe\" -serve 8x6"), program));
    EXPECT_TRUE(isOwnVerbCommand(text("C:\\Tools\\Pellavo\\pellavo.exe"), program));
    // As the first releases wrote it: unquoted, blanks and all.
    const Utf8String spaced = text("C:\\Program Files\\Pellavo\\pellavo.exe");
    EXPECT_TRUE(isOwnVerbCommand(text("C:\\Program Files\\Pellavo\\pellavo.exe -size 8x6 %1"), spaced));
    // Commands of other programs that only name ours are the user's.
    EXPECT_FALSE(isOwnVerbCommand(text("cmd /c C:\\Tools\\Pellavo\\pellavo.exe"), program));
    EXPECT_FALSE(isOwnVerbCommand(text("\"C:\\Editor\\edit.exe\" \"C:\\Tools\\Pellavo\\pellavo.exe\" %1"), program));
    EXPECT_FALSE(isOwnVerbCommand(text("C:\\Tools\\Pellavo\\pellavo.exe.bak -size 8x6 %1"), program));
    EXPECT_FALSE(isOwnVerbCommand(text("\"C:\\Tools\\Pellavo\\pellavo.exe"), program));
    EXPECT_FALSE(isOwnVerbCommand(text("C:\\Other\\pellavo.exe -size 8x6 %1"), program));
    EXPECT_FALSE(isOwnVerbCommand(text(""), program));
    EXPECT_FALSE(isOwnVerbCommand(text("anything"), Utf8String()));
}

TEST(VerbText, AFormatWithAStrayOrZeroCharacterIsNotUsed)
{
    // 0x80 0x80 and the overlong C0 80 both decode to U+0000, which would
    // end the key path for Win32 before "\command".
    // A stray continuation byte inside "\command" reads as part of the letter
    // before it; a stray lead byte before it takes in some of its letters.
    for (const char* format : {"\x80\x80%sResize %s...\\command", "%sResize \xC0\x80%s...\\command",
                               "%sResize %s...\\comma\x81nd", "%sResize %s...\xF1\\command"}) {
        const Utf8String path = verbKeyPath(text(format), text("jpegfile\\shell\\"), text("800x600"));
        EXPECT_STREQ(path.text(), "jpegfile\\shell\\Resize 800x600...\\command") << format;
    }
}

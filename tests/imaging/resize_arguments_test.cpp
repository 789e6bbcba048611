#include <gtest/gtest.h>

#include <string>

#include "imaging/resize_arguments.h"

static Utf8String text(const char* value)
{
    return Utf8String::fromUtf8(value, 0);
}

TEST(ResizeArguments, ReadTheSizeAndTakeThePathWholeOrOutOfOnePairOfQuotes)
{
    const struct {
        const char* commandLine;
        bool valid;
        ImageSize size;
        const char* path;
    } rows[] = {
        {"-size 800x600 C:\\pics\\photo.jpg", true, {800, 600}, "C:\\pics\\photo.jpg"},
        {"-size 800x600 C:\\My Pictures\\a b.png", true, {800, 600}, "C:\\My Pictures\\a b.png"},
        {"Files\\Pellavo\\pellavo.exe -size 1024x768 C:\\a.jpg", true, {1024, 768}, "C:\\a.jpg"},
        {"-size 800x600  C:\\a.jpg", true, {800, 600}, " C:\\a.jpg"},
        {"-size 800x600 \"C:\\My Pictures\\a.jpg\"", true, {800, 600}, "C:\\My Pictures\\a.jpg"},
        {"-size 800x600 \"C:\\a.jpg", true, {800, 600}, "\"C:\\a.jpg"},
        {"-size 800x600 C:\\a.jpg\"", true, {800, 600}, "C:\\a.jpg\""},
        {"-size 800x600 \"C:\\a\".jpg\"", true, {800, 600}, "\"C:\\a\".jpg\""},
        {"-size 800x600 \"\"C:\\a.jpg\"\"", true, {800, 600}, "\"\"C:\\a.jpg\"\""},
        {"-size 800x600 \"\"", true, {800, 600}, ""},
        {"-size 800x600 \"", true, {800, 600}, "\""},
        {"-size 800X600 C:\\a.jpg", false, {0, 0}, "C:\\a.jpg"},
        {"-size 0x600 C:\\a.jpg", false, {0, 0}, "C:\\a.jpg"},
        {"-size 800x600 Пейзаж.jpg", true, {800, 600}, "Пейзаж.jpg"},
    };
    for (const auto& row : rows) {
        ImageSize size{-1, -1};
        Utf8String path;
        EXPECT_EQ(parseResizeArguments(text(row.commandLine), size, path), row.valid) << row.commandLine;
        EXPECT_EQ(size, row.size) << row.commandLine;
        EXPECT_STREQ(path.text(), row.path) << row.commandLine;
    }
}

TEST(ResizeArguments, RefuseCommandLinesWithoutSwitchOrPath)
{
    const char* refused[] = {"install", "Install now", "800x600 C:\\a.jpg", "xxxxx800x600 C:\\a.jpg",
                             "-SIZE 800x600 C:\\a.jpg", "-size 800x600", "-size ", ""};
    for (const char* commandLine : refused) {
        ImageSize size;
        Utf8String path;
        EXPECT_FALSE(parseResizeArguments(text(commandLine), size, path)) << commandLine;
    }
}

TEST(ResizeArguments, CutNamesAtTheLastDotOfTheWholePath)
{
    const struct {
        const char* path;
        const char* baseName;
        const char* extension;
    } rows[] = {
        {"C:\\pics\\photo.jpg", "C:\\pics\\photo", "jpg"},
        {"C:\\pics\\IMG.JPG", "C:\\pics\\IMG", "JPG"},
        {"C:\\pics\\archive.tar.gz", "C:\\pics\\archive.tar", "gz"},
        {"C:\\a.b\\photo", "C:\\a", "b\\photo"},
        {"C:\\pics\\photo", "C:\\pics\\photo", "C:\\pics\\photo"},
        {"C:\\фото\\лето.png", "C:\\фото\\лето", "png"},
    };
    for (const auto& row : rows) {
        EXPECT_STREQ(fileBaseName(text(row.path)).text(), row.baseName) << row.path;
        EXPECT_STREQ(fileExtension(text(row.path)).text(), row.extension) << row.path;
    }
}

TEST(ResizeArguments, ChooseTheEncoderByExtensionInAnyCase)
{
    const struct {
        const char* extension;
        const char* mimeType;
    } rows[] = {{"jpg", "image/jpeg"}, {"JPG", "image/jpeg"}, {"jpeg", "image/jpeg"}, {"Jpeg", "image/jpeg"},
                {"jpe", ""},           {"JFIF", ""},          {"bmp", "image/bmp"},   {"png", "image/png"},
                {"PNG", "image/png"},  {"gif", "image/gif"},  {"tif", ""},            {"jpgx", ""},
                {"txt", ""},           {"", ""}};
    for (const auto& row : rows)
        EXPECT_STREQ(mimeTypeForExtension(text(row.extension)).text(), row.mimeType) << row.extension;
}

TEST(ResizeArguments, NameCopiesByTheirSizeAndCounter)
{
    const Utf8String base = text("C:\\pics\\photo");
    EXPECT_STREQ(outputName(base, ImageSize{800, 450}, 0, text("jpg")).text(), "C:\\pics\\photo_800x450.jpg");
    EXPECT_STREQ(outputName(base, ImageSize{800, 600}, 1, text("JPG")).text(), "C:\\pics\\photo_800x600_1.JPG");
    EXPECT_STREQ(outputName(base, ImageSize{800, 600}, 12, text("png")).text(), "C:\\pics\\photo_800x600_12.png");
}

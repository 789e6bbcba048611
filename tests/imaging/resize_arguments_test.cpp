#include <gtest/gtest.h>

#include <string>

#include "imaging/copy_format.h"
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
        {"-size 800x600 \"\"", false, {800, 600}, ""},
        {"-size 800x600 \"", true, {800, 600}, "\""},
        {"-size 800X600 C:\\a.jpg", false, {0, 0}, "C:\\a.jpg"},
        {"-size 0x600 C:\\a.jpg", false, {0, 0}, "C:\\a.jpg"},
        {"-size 800x600 Пейзаж.jpg", true, {800, 600}, "Пейзаж.jpg"},
    };
    for (const auto& row : rows) {
        Preset preset{{-1, -1}, {}};
        Utf8String path;
        EXPECT_EQ(parseResizeArguments(text(row.commandLine), preset, path), row.valid) << row.commandLine;
        if (row.valid) {
            EXPECT_EQ(preset.size, row.size) << row.commandLine;
            EXPECT_TRUE(preset.options.isPlain()) << row.commandLine;
        }
        EXPECT_STREQ(path.text(), row.path) << row.commandLine;
    }
}

TEST(ResizeArguments, OptionWordsStandBetweenTheSizeAndThePath)
{
    PresetOptions jpeg85;
    jpeg85.kind = CopyKind::Jpeg;
    jpeg85.quality = 85;
    PresetOptions private_;
    private_.details = KeptDetails::AllButLocation;
    private_.neverLarger = true;
    const struct {
        const char* commandLine;
        PresetOptions options;
        const char* path;
    } rows[] = {
        {"-size 1024x768 jpeg quality=85 C:\\a b\\photo.png", jpeg85, "C:\\a b\\photo.png"},
        {"-size 1024x768 JPEG Quality=085 \"C:\\photo.png\"", jpeg85, "C:\\photo.png"},
        {"-size 800x600 no-location never-larger C:\\pics\\jpeg.jpg", private_, "C:\\pics\\jpeg.jpg"},
        // A word that only looks like an option is the path's start.
        {"-size 800x600 quality=101 C:\\a.jpg", {}, "quality=101 C:\\a.jpg"},
        {"-size 800x600 jpegs C:\\a.jpg", {}, "jpegs C:\\a.jpg"},
    };
    for (const auto& row : rows) {
        Preset preset;
        Utf8String path;
        EXPECT_TRUE(parseResizeArguments(text(row.commandLine), preset, path)) << row.commandLine;
        EXPECT_EQ(preset.options, row.options) << row.commandLine;
        EXPECT_STREQ(path.text(), row.path) << row.commandLine;
    }
    // Option words with nothing after them leave no picture.
    Preset preset;
    Utf8String path;
    EXPECT_FALSE(parseResizeArguments(text("-size 800x600 jpeg keep-date"), preset, path));
}

TEST(ResizeArguments, RefuseCommandLinesWithoutSwitchOrPath)
{
    const char* refused[] = {"install", "Install now", "800x600 C:\\a.jpg", "xxxxx800x600 C:\\a.jpg",
                             "-SIZE 800x600 C:\\a.jpg", "-size 800x600", "-size ", ""};
    for (const char* commandLine : refused) {
        Preset preset;
        Utf8String path;
        EXPECT_FALSE(parseResizeArguments(text(commandLine), preset, path)) << commandLine;
    }
}

TEST(ResizeArguments, CutNamesAtTheLastDotOfTheFilesName)
{
    const struct {
        const char* path;
        const char* baseName;
        const char* extension;
    } rows[] = {
        {"C:\\pics\\photo.jpg", "C:\\pics\\photo", "jpg"},
        {"C:\\pics\\IMG.JPG", "C:\\pics\\IMG", "JPG"},
        {"C:\\pics\\archive.tar.gz", "C:\\pics\\archive.tar", "gz"},
        {"C:\\a.b\\photo", "C:\\a.b\\photo", "C:\\a.b\\photo"},
        {"C:\\a.b/photo", "C:\\a.b/photo", "C:\\a.b/photo"},
        {"C:\\pics\\photo", "C:\\pics\\photo", "C:\\pics\\photo"},
        {"C:\\фото\\лето.png", "C:\\фото\\лето", "png"},
    };
    for (const auto& row : rows) {
        EXPECT_STREQ(fileBaseName(text(row.path)).text(), row.baseName) << row.path;
        EXPECT_STREQ(fileExtension(text(row.path)).text(), row.extension) << row.path;
    }
}

TEST(CopyFormat, ACopyIsOfItsSourcesKindWhereWrittenElseJpegOrPngAndNamedForIt)
{
    PixelBuffer opaque, seeThrough;
    ASSERT_TRUE(opaque.allocate(2, 2, 4));
    ASSERT_TRUE(seeThrough.allocate(2, 2, 4));
    for (int i = 0; i < 16; ++i) opaque.mutableView().pixels[i] = seeThrough.mutableView().pixels[i] = 255;
    seeThrough.mutableView().pixels[15] = 254;
    const struct {
        PictureKind source;
        const PixelBuffer* copy;
        PictureKind kind;
        const char* sourceExtension;
        const char* extension;
    } rows[] = {
        {PictureKind::Jpeg, &opaque, PictureKind::Jpeg, "JPEG", "JPEG"},
        {PictureKind::Jpeg, &opaque, PictureKind::Jpeg, "png", "jpg"},
        {PictureKind::Png, &seeThrough, PictureKind::Png, "Png", "Png"},
        {PictureKind::Png, &opaque, PictureKind::Png, "bmp", "png"},
        {PictureKind::Tiff, &opaque, PictureKind::Tiff, "tiff", "tiff"},
        {PictureKind::Bmp, &seeThrough, PictureKind::Bmp, "dib", "dib"},
        {PictureKind::Gif, &opaque, PictureKind::Gif, "gif", "gif"},
        {PictureKind::WebP, &seeThrough, PictureKind::WebP, "WEBP", "WEBP"},
        // Kinds the program reads but does not write.
        {PictureKind::Other, &opaque, PictureKind::Jpeg, "heic", "jpg"},
        {PictureKind::Other, &seeThrough, PictureKind::Png, "ico", "png"},
        {PictureKind::Other, &opaque, PictureKind::Jpeg, "jpeg", "jpeg"},
    };
    for (const auto& row : rows) {
        const PictureKind kind = copyKindFor(row.source, row.copy->view());
        EXPECT_EQ(kind, row.kind) << row.sourceExtension;
        EXPECT_STREQ(copyExtension(text(row.sourceExtension), kind).text(), row.extension) << row.sourceExtension;
    }
}

TEST(ResizeArguments, NameCopiesByTheirSizeAndCounter)
{
    const Utf8String base = text("C:\\pics\\photo");
    EXPECT_STREQ(outputName(base, ImageSize{800, 450}, 0, text("jpg")).text(), "C:\\pics\\photo_800x450.jpg");
    EXPECT_STREQ(outputName(base, ImageSize{800, 600}, 1, text("JPG")).text(), "C:\\pics\\photo_800x600_1.JPG");
    EXPECT_STREQ(outputName(base, ImageSize{800, 600}, 12, text("png")).text(), "C:\\pics\\photo_800x600_12.png");
}

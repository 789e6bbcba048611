#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/picture_extensions.h"

namespace {

Utf8String text(const char* value)
{
    return Utf8String::fromUtf8(value, 0);
}

// The set as one text, the extensions parted by blanks.
std::string joined(const std::vector<Utf8String>& extensions)
{
    std::string all;
    for (const Utf8String& extension : extensions) all += (all.empty() ? "" : " ") + std::string(extension.text());
    return all;
}

std::string parsed(const char* list)
{
    std::vector<Utf8String> extensions;
    addPictureExtensions(text(list), extensions);
    return joined(extensions);
}

}  // namespace

TEST(PictureExtensions, CodecListsGiveTheirPlainExtensionsLowerCasedOnce)
{
    const std::string longest = "." + std::string(kMaxPictureExtension - 1, 'x');
    const std::string tooLong = longest + "x";
    const std::string atTheLimit = longest + ";" + tooLong;
    const struct {
        const char* list;
        const char* extensions;
    } rows[] = {
        // As Wine's BMP, JPEG and TIFF decoders list them.
        {".bmp,.dib,.rle", ".bmp .dib .rle"},
        {".jpg;.jpeg;.jfif", ".jpg .jpeg .jfif"},
        {".tif;.tiff", ".tif .tiff"},
        {" .TIF ;\t.Tiff\r\n, .HEIC", ".tif .tiff .heic"},
        {".png,.PNG;.Png", ".png"},
        {".gif,,;; ,", ".gif"},
        {"", ""},
        {" ", ""},
        // A name that cannot be a file's extension, nor a registry key's name.
        {"bmp,.,..,..jpg,.tar.gz,.a b", ""},
        {".a\\b,.a/b,.a:b,.a*b,.a?b,.a\"b,.a<b,.a>b,.a|b", ""},
        {".\x01x,.x\x7f,.фото,.jpg\xC2\xA0", ""},
        {".cr2, .NEF,.arw,.3fr", ".cr2 .nef .arw .3fr"},
        {".jxr;.hdp;.wdp,.tga;.tpic,.dds,.ico", ".jxr .hdp .wdp .tga .tpic .dds .ico"},
        {atTheLimit.c_str(), longest.c_str()},
    };
    for (const auto& row : rows) EXPECT_EQ(parsed(row.list), row.extensions) << testing::PrintToString(row.list);
}

TEST(PictureExtensions, ACodecAddsOnlyWhatTheSetLacks)
{
    std::vector<Utf8String> extensions = ownPictureExtensions();
    EXPECT_EQ(joined(extensions), ".jpg .jpeg .jpe .jfif .webp .png");
    addPictureExtensions(text(".JPG;.jpeg;.jfif"), extensions);
    addPictureExtensions(text(".webp,.gif;.PNG"), extensions);
    EXPECT_EQ(joined(extensions), ".jpg .jpeg .jpe .jfif .webp .png .gif");
    EXPECT_EQ(joined(fallbackPictureExtensions()), ".jpg .jpeg .jpe .jfif .webp .png .gif .bmp .tif .tiff");
}

TEST(PictureExtensions, APathIsAPictureByTheTextFromItsLastDot)
{
    const std::vector<Utf8String> extensions = fallbackPictureExtensions();
    const struct {
        const char* path;
        bool picture;
    } rows[] = {
        {"C:\\pics\\photo.jpg", true},      {"C:\\pics\\scan.TIFF", true},   {"C:\\Фото\\лето.WebP", true},
        {"C:\\pics\\.png", true},           {"C:\\pics\\photo.jpg.txt", false}, {"C:\\pics.jpg\\photo", false},
        {"C:\\pics\\photo", false},         {"C:\\pics\\photo.", false},     {"C:\\pics\\photo.jpgx", false},
        {"C:\\pics\\photo.dds", false},     {"", false},
    };
    for (const auto& row : rows) EXPECT_EQ(hasPictureExtension(extensions, text(row.path)), row.picture) << row.path;
}

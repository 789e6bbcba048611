#include <gtest/gtest.h>

#include "settings/size_list.h"
#include "settings/size_text.h"

static Utf8String text(const char* value)
{
    return Utf8String::fromUtf8(value, 0);
}

static std::vector<std::string> textsOf(const SizeList& list)
{
    std::vector<std::string> result;
    for (const Utf8String& entry : list.texts()) result.emplace_back(entry.text());
    return result;
}

TEST(SizeText, ReadsLenientlyAndRefusesWhatIsNoSize)
{
    const char* valid[] = {"800x600", " 800x 600", "800 x 600", "+800x+600", "800x600x3", "800x600px", "0800x600"};
    for (const char* value : valid) {
        ImageSize size;
        EXPECT_TRUE(parseSize(text(value), size)) << value;
        EXPECT_EQ(size, (ImageSize{800, 600})) << value;
    }
    const char* refused[] = {"800X600", "x600", "800x", "0x600", "800x0", "-800x600", "abc800x600", "",
                             "800", "2147483648x600", "99999999999x1"};
    for (const char* value : refused) {
        ImageSize size{1, 1};
        EXPECT_FALSE(parseSize(text(value), size)) << value;
        EXPECT_EQ(size, (ImageSize{0, 0})) << value;
    }
    ImageSize largest;
    EXPECT_TRUE(parseSize(text("2147483647x2147483647"), largest));
    EXPECT_EQ(largest, (ImageSize{2147483647, 2147483647}));
}

TEST(SizeText, WritesTheCanonicalForm)
{
    EXPECT_STREQ(formatSize(800, 600).text(), "800x600");
    EXPECT_STREQ(formatSize(1, 2147483647).text(), "1x2147483647");
}

TEST(SizeListEditing, KeepsInsertionOrderWithoutDuplicates)
{
    SizeList list;
    EXPECT_TRUE(list.texts().empty());
    EXPECT_EQ(list.indexOf(Preset{{800, 600}, {}}), -1);

    EXPECT_TRUE(list.addText(text(" 800 x 600")));
    EXPECT_FALSE(list.addText(text("800x600")));
    EXPECT_FALSE(list.addText(text("0800x600")));
    EXPECT_FALSE(list.addText(text("800X600")));
    EXPECT_TRUE(list.addText(text("1024x768")));
    EXPECT_TRUE(list.addText(text("640x480")));
    EXPECT_EQ(textsOf(list), (std::vector<std::string>{"800x600", "1024x768", "640x480"}));
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.at(1), (Preset{{1024, 768}, {}}));
    EXPECT_EQ(list.indexOf(Preset{{640, 480}, {}}), 2);

    EXPECT_TRUE(list.removeText(text("800x600")));
    EXPECT_FALSE(list.removeText(text("800x600")));
    EXPECT_FALSE(list.removeText(text("nonsense")));
    EXPECT_EQ(textsOf(list), (std::vector<std::string>{"1024x768", "640x480"}));
    EXPECT_EQ(list.at(5), Preset());
}

TEST(SizeListEditing, APresetIsItsSizeAndItsOptions)
{
    SizeList list;
    EXPECT_TRUE(list.addText(text("800x600")));
    EXPECT_TRUE(list.addText(text("800x600 jpeg")));
    EXPECT_TRUE(list.addText(text("800x600 JPEG quality=80")));
    EXPECT_FALSE(list.addText(text("800x600 quality=80 jpg")));
    // Typed words must all be options: nothing typed is dropped quietly.
    EXPECT_FALSE(list.addText(text("640x480 jpeg sepia")));
    EXPECT_FALSE(list.addText(text("640x480 png webp")));
    EXPECT_EQ(textsOf(list), (std::vector<std::string>{"800x600", "800x600 jpeg", "800x600 jpeg quality=80"}));
    EXPECT_TRUE(list.removeText(text("800x600 jpeg")));
    list.removeAt(1);
    list.removeAt(7);
    EXPECT_EQ(textsOf(list), (std::vector<std::string>{"800x600"}));
}

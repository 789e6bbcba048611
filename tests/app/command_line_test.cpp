#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"
#include "tests/wide_literal.h"

static std::u16string argumentsOf(const WideChar* commandLine)
{
    const WideChar* arguments = commandLineArguments(commandLine);
    std::u16string text;
    for (const WideChar* p = arguments; *p; ++p) text.push_back(static_cast<char16_t>(*p));
    return text;
}

TEST(CommandLine, SkipsTheProgramNameAndTheBlanksAfterIt)
{
    EXPECT_EQ(argumentsOf(WIDE("pellavo.exe Install")), u"Install");
    EXPECT_EQ(argumentsOf(WIDE("pellavo.exe     Install")), u"Install");
    EXPECT_EQ(argumentsOf(WIDE("pellavo.exe\t\r\n Install")), u"Install");
    EXPECT_EQ(argumentsOf(WIDE("\"C:\\Program Files\\Pellavo\\pellavo.exe\" -size 800x600 C:\\a b.jpg")),
              u"-size 800x600 C:\\a b.jpg");
    EXPECT_EQ(argumentsOf(WIDE("C:\\Program Files\\Pellavo\\pellavo.exe -size 8x6 a.jpg")),
              u"Files\\Pellavo\\pellavo.exe -size 8x6 a.jpg");
    EXPECT_EQ(argumentsOf(WIDE("C:\\\"Program Files\"\\p.exe Uninstall")), u"Uninstall");
}

TEST(CommandLine, KeepsTheRestUnchanged)
{
    EXPECT_EQ(argumentsOf(WIDE("p.exe \"quoted path.jpg\"  ")), u"\"quoted path.jpg\"  ");
    EXPECT_EQ(argumentsOf(WIDE("p.exe")), u"");
    EXPECT_EQ(argumentsOf(WIDE("p.exe      ")), u"");
    EXPECT_EQ(argumentsOf(WIDE("\"unterminated quote Install")), u"");
    EXPECT_EQ(argumentsOf(WIDE("")), u"");
}

TEST(CommandLine, ChoosesTheLaunchModeByTheWholeExactText)
{
    struct Case {
        const char* arguments;
        LaunchMode mode;
    };
    const Case cases[] = {
        {"Install", LaunchMode::Install},
        {"Uninstall", LaunchMode::Uninstall},
        {"", LaunchMode::MainDialog},
        {"install", LaunchMode::Resize},
        {"INSTALL", LaunchMode::Resize},
        {"Install ", LaunchMode::Resize},
        {"Install now", LaunchMode::Resize},
        {"Uninstal", LaunchMode::Resize},
        {"-size 800x600 a.jpg", LaunchMode::Resize},
        {"-serve 800x600 -Embedding", LaunchMode::Serve},
        {"-serve 800x600", LaunchMode::Serve},
        {" -serve 800x600", LaunchMode::Resize},
        {"-Serve 800x600", LaunchMode::Resize},
        {"-serve", LaunchMode::Resize},
    };
    for (const Case& c : cases)
        EXPECT_EQ(launchModeFor(Utf8String::fromAnsi(c.arguments)), c.mode) << c.arguments;
}

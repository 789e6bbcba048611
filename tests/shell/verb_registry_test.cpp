#include <gtest/gtest.h>

#include <algorithm>

#include "base/module_path.h"
#include "i18n/translation_table.h"
#include "settings/size_list.h"
#include "shell/verb_registry.h"
#include "tests/support/registry_reading.h"
#include "tests/support/registry_default_value.h"

namespace {

const wchar_t* const kTypes[] = {L"jpegfile", L"giffile", L"pngfile"};

std::wstring executablePath()
{
    const WideBuffer path = runningExecutablePath().toWide();
    return path.units();
}

std::wstring commandFor(const std::wstring& sizeText)
{
    return L"\"" + executablePath() + L"\" -size " + sizeText + L" %1";
}

std::vector<std::wstring> verbsOf(const wchar_t* type)
{
    return subkeyNames(HKEY_CLASSES_ROOT, std::wstring(type) + L"\\shell");
}

bool hasVerb(const wchar_t* type, const std::wstring& verb)
{
    const std::vector<std::wstring> verbs = verbsOf(type);
    return std::find(verbs.begin(), verbs.end(), verb) != verbs.end();
}

// The verbs are rebuilt from the process-wide list and table: each test
// starts from none of the program's verbs and leaves none behind.
class VerbRegistry : public testing::Test {
protected:
    void SetUp() override
    {
        unregisterVerbs();
        translationTable.clear();
    }
    void TearDown() override
    {
        unregisterVerbs();
        translationTable.clear();
        for (const Utf8String& text : sizeList.texts()) sizeList.removeText(text);
    }
    static void useSizes(std::initializer_list<const char*> texts)
    {
        for (const char* text : texts) sizeList.addText(Utf8String::fromAnsi(text));
    }
};

}  // namespace

TEST_F(VerbRegistry, WritesOneQuotedCommandPerTypeAndSize)
{
    useSizes({"800x600", "1024x768"});
    registerVerbs();
    for (const wchar_t* type : kTypes) {
        for (const std::wstring size : {L"800x600", L"1024x768"}) {
            const std::wstring key = std::wstring(type) + L"\\shell\\Resize " + size + L"...\\command";
            EXPECT_EQ(defaultValueOf(HKEY_CLASSES_ROOT, key), commandFor(size)) << key;
        }
    }
}

TEST_F(VerbRegistry, RemovesAllOwnVerbsAndNoOtherProgramsVerbs)
{
    const std::wstring path = executablePath();
    std::wstring upperPath = path;
    std::transform(upperPath.begin(), upperPath.end(), upperPath.begin(), ::towupper);
    const std::wstring longCommand = L"C:\\Other\\" + std::wstring(300, L'x') + L".exe %1";
    ScopedDefaultValue foreign(HKEY_CLASSES_ROOT, L"jpegfile\\shell\\Pellavo test other\\command",
                               L"C:\\Other\\tool.exe -size 800x600 %1");
    ScopedDefaultValue foreignLong(HKEY_CLASSES_ROOT, L"jpegfile\\shell\\Pellavo test long\\command", longCommand);
    ScopedDefaultValue ownOtherCase(HKEY_CLASSES_ROOT, L"jpegfile\\shell\\Pellavo test upper\\command",
                                    upperPath + L" -size 1x1 %1");
    ScopedDefaultValue ownInside(HKEY_CLASSES_ROOT, L"giffile\\shell\\Pellavo test inside\\command",
                                 L"cmd /c " + path + L" -size 1x1 %1");
    useSizes({"800x600", "1024x768", "640x480", "320x240"});
    registerVerbs();

    unregisterVerbs();
    for (const wchar_t* type : kTypes) {
        for (const std::wstring& verb : verbsOf(type))
            EXPECT_EQ(verb.find(L"Resize"), std::wstring::npos) << verb << " was left under " << type;
    }
    EXPECT_FALSE(hasVerb(L"jpegfile", L"Pellavo test upper"));
    EXPECT_FALSE(hasVerb(L"giffile", L"Pellavo test inside"));
    EXPECT_TRUE(hasVerb(L"jpegfile", L"Pellavo test other"));
    EXPECT_TRUE(hasVerb(L"jpegfile", L"Pellavo test long"));
}

TEST_F(VerbRegistry, NamesVerbsInTheCurrentLanguageAndRemovesThemByPath)
{
    const char russian[] = "%sResize %s...\\command=%sУменьшить до %s...\\command\r\n";
    translationTable.readText(russian, sizeof russian - 1);
    useSizes({"800x600"});
    registerVerbs();
    EXPECT_TRUE(hasVerb(L"jpegfile", L"Уменьшить до 800x600..."));

    translationTable.clear();
    unregisterVerbs();
    registerVerbs();
    EXPECT_FALSE(hasVerb(L"jpegfile", L"Уменьшить до 800x600..."));
    EXPECT_TRUE(hasVerb(L"pngfile", L"Resize 800x600..."));
}

TEST_F(VerbRegistry, AnEmptyListWritesNothing)
{
    registerVerbs();
    for (const wchar_t* type : kTypes) {
        for (const std::wstring& verb : verbsOf(type)) EXPECT_EQ(verb.find(L"Resize"), std::wstring::npos) << verb;
    }
}

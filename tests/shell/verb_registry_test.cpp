#include <gtest/gtest.h>

#include <algorithm>

#include "base/module_path.h"
#include "i18n/translation_table.h"
#include "settings/size_list.h"
#include "shell/verb_registry.h"
#include "tests/support/registry_reading.h"
#include "tests/support/registry_default_value.h"

namespace {

// Where the verbs are written, and where earlier versions wrote them.
const wchar_t* const kTypes[] = {
    L"SystemFileAssociations\\.jpg",  L"SystemFileAssociations\\.jpeg", L"SystemFileAssociations\\.jpe",
    L"SystemFileAssociations\\.jfif", L"SystemFileAssociations\\.png",  L"SystemFileAssociations\\.gif"};
const wchar_t* const kOldTypes[] = {L"jpegfile", L"giffile", L"pngfile"};

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

TEST_F(VerbRegistry, WritesOneQuotedCommandWithTheProgramsIconPerExtensionAndSize)
{
    useSizes({"800x600", "1024x768"});
    EXPECT_TRUE(registerVerbs());
    for (const wchar_t* type : kTypes) {
        for (const std::wstring size : {L"800x600", L"1024x768"}) {
            const std::wstring verb = std::wstring(type) + L"\\shell\\Resize " + size + L"...";
            EXPECT_EQ(defaultValueOf(HKEY_CLASSES_ROOT, verb + L"\\command"), commandFor(size)) << verb;
            EXPECT_EQ(textValueOf(HKEY_CLASSES_ROOT, verb, L"Icon"), executablePath() + L",0") << verb;
        }
    }
    for (const wchar_t* type : kOldTypes) EXPECT_FALSE(hasVerb(type, L"Resize 800x600...")) << type;
}

TEST_F(VerbRegistry, RemovesAllOwnVerbsAndNoOtherProgramsVerbs)
{
    const std::wstring path = executablePath();
    std::wstring upperPath = path;
    std::transform(upperPath.begin(), upperPath.end(), upperPath.begin(), ::towupper);
    const std::wstring longCommand = L"C:\\Other\\" + std::wstring(300, L'x') + L".exe %1";
    const wchar_t* const jpg = L"SystemFileAssociations\\.jpg";
    ScopedDefaultValue foreign(HKEY_CLASSES_ROOT, L"jpegfile\\shell\\Pellavo test other\\command",
                               L"C:\\Other\\tool.exe -size 800x600 %1");
    ScopedDefaultValue foreignLong(HKEY_CLASSES_ROOT, std::wstring(jpg) + L"\\shell\\Pellavo test long\\command",
                                   longCommand);
    // What an earlier version left under the ProgIDs, and a hand-made entry.
    ScopedDefaultValue ownOtherCase(HKEY_CLASSES_ROOT, L"jpegfile\\shell\\Pellavo test upper\\command",
                                    upperPath + L" -size 1x1 %1");
    ScopedDefaultValue ownInside(HKEY_CLASSES_ROOT, L"SystemFileAssociations\\.gif\\shell\\Pellavo test inside\\command",
                                 L"cmd /c " + path + L" -size 1x1 %1");
    useSizes({"800x600", "1024x768", "640x480", "320x240"});
    ASSERT_TRUE(registerVerbs());

    EXPECT_TRUE(unregisterVerbs());
    std::vector<const wchar_t*> everyType(std::begin(kTypes), std::end(kTypes));
    everyType.insert(everyType.end(), std::begin(kOldTypes), std::end(kOldTypes));
    for (const wchar_t* type : everyType) {
        for (const std::wstring& verb : verbsOf(type))
            EXPECT_EQ(verb.find(L"Resize"), std::wstring::npos) << verb << " was left under " << type;
    }
    EXPECT_FALSE(hasVerb(L"jpegfile", L"Pellavo test upper"));
    EXPECT_FALSE(hasVerb(L"SystemFileAssociations\\.gif", L"Pellavo test inside"));
    EXPECT_TRUE(hasVerb(L"jpegfile", L"Pellavo test other"));
    EXPECT_TRUE(hasVerb(jpg, L"Pellavo test long"));
}

TEST_F(VerbRegistry, NamesVerbsInTheCurrentLanguageAndRemovesThemByPath)
{
    const char russian[] = "%sResize %s...\\command=%sУменьшить до %s...\\command\r\n";
    translationTable.readText(russian, sizeof russian - 1);
    useSizes({"800x600"});
    registerVerbs();
    EXPECT_TRUE(hasVerb(kTypes[0], L"Уменьшить до 800x600..."));

    translationTable.clear();
    unregisterVerbs();
    registerVerbs();
    EXPECT_FALSE(hasVerb(kTypes[0], L"Уменьшить до 800x600..."));
    EXPECT_TRUE(hasVerb(kTypes[4], L"Resize 800x600..."));
}

TEST_F(VerbRegistry, AnEmptyListWritesNothing)
{
    EXPECT_TRUE(registerVerbs());
    for (const wchar_t* type : kTypes) {
        for (const std::wstring& verb : verbsOf(type)) EXPECT_EQ(verb.find(L"Resize"), std::wstring::npos) << verb;
    }
}

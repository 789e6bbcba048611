#include <gtest/gtest.h>

#include <algorithm>

#include "base/module_path.h"
#include "i18n/translation_table.h"
#include "settings/size_list.h"
#include "shell/installed_extensions.h"
#include "shell/verb_registry.h"
#include "tests/support/registry_reading.h"
#include "tests/support/registry_default_value.h"
#include "tests/support/utf8_conversion.h"

namespace {

const wchar_t kJpegType[] = L"SystemFileAssociations\\.jpg";
const wchar_t kPngType[] = L"SystemFileAssociations\\.png";
// Where earlier versions wrote the verbs.
const wchar_t* const kOldTypes[] = {L"jpegfile", L"giffile", L"pngfile"};

// Where the verbs are written: the extensions of the codecs installed now.
std::vector<std::wstring> currentTypes()
{
    std::vector<std::wstring> types;
    for (const Utf8String& extension : installedPictureExtensions())
        types.push_back(L"SystemFileAssociations\\" + wideOf(extension));
    return types;
}

// A scope's classes as the test reads them: Wine's HKEY_CLASSES_ROOT is the
// machine's alone and does not show the user's.
struct Classes {
    HKEY root;
    std::wstring prefix;
};
// The test program runs from outside Program Files: its verbs are the user's.
const Classes kUsers = {HKEY_CURRENT_USER, L"Software\\Classes\\"};
// Where an older release wrote, and where the planted verbs go.
const Classes kMachines = {HKEY_CLASSES_ROOT, L""};

// Every extension's key, whether or not a codec lists it.
std::vector<std::wstring> everyExtensionType(const Classes& classes = kUsers)
{
    std::vector<std::wstring> types;
    for (const std::wstring& name : subkeyNames(classes.root, classes.prefix + L"SystemFileAssociations")) {
        if (name.rfind(L".", 0) == 0) types.push_back(L"SystemFileAssociations\\" + name);
    }
    return types;
}

std::wstring executablePath()
{
    const WideBuffer path = runningExecutablePath().toWide();
    return path.units();
}

std::wstring commandFor(const std::wstring& sizeText)
{
    return L"\"" + executablePath() + L"\" -size " + sizeText + L" %1";
}

std::vector<std::wstring> verbsOf(const std::wstring& type, const Classes& classes = kUsers)
{
    return subkeyNames(classes.root, classes.prefix + type + L"\\shell");
}

bool hasVerb(const std::wstring& type, const std::wstring& verb, const Classes& classes = kUsers)
{
    const std::vector<std::wstring> verbs = verbsOf(type, classes);
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
    const std::vector<std::wstring> types = currentTypes();
    for (const std::wstring& type : types) {
        for (const std::wstring size : {L"800x600", L"1024x768"}) {
            const std::wstring verb = type + L"\\shell\\Resize " + size + L"...";
            EXPECT_EQ(defaultValueOf(kUsers.root, kUsers.prefix + verb + L"\\command"), commandFor(size)) << verb;
            EXPECT_EQ(textValueOf(kUsers.root, kUsers.prefix + verb, L"Icon"), executablePath() + L",0") << verb;
        }
    }
    // Nowhere else, and nothing in the machine's classes.
    for (const std::wstring& type : everyExtensionType()) {
        if (std::find(types.begin(), types.end(), type) == types.end()) {
            EXPECT_FALSE(hasVerb(type, L"Resize 800x600...")) << type;
        }
    }
    for (const std::wstring& type : everyExtensionType(kMachines))
        EXPECT_FALSE(hasVerb(type, L"Resize 800x600...", kMachines)) << type;
    for (const wchar_t* type : kOldTypes) {
        EXPECT_FALSE(hasVerb(type, L"Resize 800x600...")) << type;
        EXPECT_FALSE(hasVerb(type, L"Resize 800x600...", kMachines)) << type;
    }
}

TEST_F(VerbRegistry, RemovesAllOwnVerbsAndNoOtherProgramsVerbs)
{
    const std::wstring path = executablePath();
    std::wstring upperPath = path;
    std::transform(upperPath.begin(), upperPath.end(), upperPath.begin(), ::towupper);
    const std::wstring longCommand = L"C:\\Other\\" + std::wstring(300, L'x') + L".exe %1";
    const std::wstring oldFormat = L"SystemFileAssociations\\.oldformat";
    ScopedDefaultValue foreign(HKEY_CLASSES_ROOT, L"jpegfile\\shell\\Pellavo test other\\command",
                               L"C:\\Other\\tool.exe -size 800x600 %1");
    ScopedDefaultValue foreignLong(HKEY_CLASSES_ROOT, std::wstring(kJpegType) + L"\\shell\\Pellavo test long\\command",
                                   longCommand);
    ScopedDefaultValue foreignOld(HKEY_CLASSES_ROOT, oldFormat + L"\\shell\\Pellavo test other\\command",
                                  L"C:\\Other\\tool.exe -size 800x600 %1");
    // What an earlier version left under the ProgIDs; a user's own verb that
    // hands the program's path to another program is the user's.
    ScopedDefaultValue ownOtherCase(HKEY_CLASSES_ROOT, L"jpegfile\\shell\\Pellavo test upper\\command",
                                    upperPath + L" -size 1x1 %1");
    ScopedDefaultValue usersWrapper(HKEY_CLASSES_ROOT,
                                    L"SystemFileAssociations\\.gif\\shell\\Pellavo test inside\\command",
                                    L"cmd /c " + path + L" -size 1x1 %1");
    // A verb written while a codec, since removed, listed the type.
    ScopedDefaultValue ownOldFormat(HKEY_CLASSES_ROOT, oldFormat + L"\\shell\\Resize 800x600...\\command",
                                    commandFor(L"800x600"));
    useSizes({"800x600", "1024x768", "640x480", "320x240"});
    ASSERT_TRUE(registerVerbs());

    EXPECT_TRUE(unregisterVerbs());
    for (const Classes& classes : {kUsers, kMachines}) {
        std::vector<std::wstring> everyType = everyExtensionType(classes);
        everyType.insert(everyType.end(), std::begin(kOldTypes), std::end(kOldTypes));
        for (const std::wstring& type : everyType) {
            for (const std::wstring& verb : verbsOf(type, classes))
                EXPECT_EQ(verb.find(L"Resize"), std::wstring::npos) << verb << " was left under " << type;
        }
    }
    // The planted ones stand in the machine's classes, as an older release wrote them.
    EXPECT_FALSE(hasVerb(L"jpegfile", L"Pellavo test upper", kMachines));
    EXPECT_TRUE(hasVerb(L"SystemFileAssociations\\.gif", L"Pellavo test inside", kMachines));
    EXPECT_TRUE(hasVerb(L"jpegfile", L"Pellavo test other", kMachines));
    EXPECT_TRUE(hasVerb(kJpegType, L"Pellavo test long", kMachines));
    EXPECT_TRUE(hasVerb(oldFormat, L"Pellavo test other", kMachines));
}

TEST_F(VerbRegistry, NamesVerbsInTheCurrentLanguageAndRemovesThemByPath)
{
    const char russian[] = "%sResize %s...\\command=%sУменьшить до %s...\\command\r\n";
    translationTable.readText(russian, sizeof russian - 1);
    useSizes({"800x600"});
    registerVerbs();
    EXPECT_TRUE(hasVerb(kJpegType, L"Уменьшить до 800x600..."));

    translationTable.clear();
    unregisterVerbs();
    registerVerbs();
    EXPECT_FALSE(hasVerb(kJpegType, L"Уменьшить до 800x600..."));
    EXPECT_TRUE(hasVerb(kPngType, L"Resize 800x600..."));
}

TEST_F(VerbRegistry, AnEmptyListWritesNothing)
{
    EXPECT_TRUE(registerVerbs());
    for (const Classes& classes : {kUsers, kMachines}) {
        for (const std::wstring& type : everyExtensionType(classes)) {
            for (const std::wstring& verb : verbsOf(type, classes))
                EXPECT_EQ(verb.find(L"Resize"), std::wstring::npos) << verb;
        }
    }
}

#include <gtest/gtest.h>

#include <string>

#include "settings/settings_file.h"
#include "settings/size_list.h"
#include "shell/verb_registry.h"
#include "tests/support/file_system.h"
#include "tests/support/registry_reading.h"
#include "tests/support/temp_folder.h"
#include "tests/utf16_bytes.h"

namespace {

Bytes bytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

std::string textOf(const std::optional<Bytes>& bytes)
{
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

std::vector<std::string> listTexts()
{
    std::vector<std::string> texts;
    for (const Utf8String& text : sizeList.texts()) texts.emplace_back(text.text());
    return texts;
}

Utf8String utf8Path(const std::wstring& path)
{
    return Utf8String::fromWide(path.c_str(), 0);
}

// Each test works on the process-wide list and leaves it, and the verbs a
// save registers, as it found them: empty.
class SettingsFile : public testing::Test {
protected:
    void TearDown() override
    {
        for (const Utf8String& text : sizeList.texts()) sizeList.removeText(text);
        unregisterVerbs();
    }
    std::wstring file(const wchar_t* name) const { return folder_.path() + L"\\" + name; }

    TempFolder folder_;
};

}  // namespace

TEST_F(SettingsFile, ReadsWhiteSpaceSeparatedSizesOnce)
{
    const std::wstring settings = file(L"settings.txt");
    ASSERT_TRUE(writeFileBytes(settings, bytesOf("800x600\r\n1024x768 800x600\tabc\r\n 800 x 600\n" +
                                                 std::string(100000, '7') + "x1 640x480")));
    EXPECT_EQ(readSettingsFile(utf8Path(settings)), SettingsLoad::Read);
    EXPECT_EQ(readSettingsFile(utf8Path(settings)), SettingsLoad::Read);
    EXPECT_EQ(readSettingsFile(utf8Path(file(L"missing.txt"))), SettingsLoad::Read);
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"800x600", "1024x768", "640x480"}));
}

TEST_F(SettingsFile, ReadsWhatWindowsToolsSaveAndHoldsBackTextWithoutASize)
{
    const std::u16string sizes = u"\xFEFF" u"800x600\r\n1024x768\r\n";
    const std::vector<std::string> both = {"800x600", "1024x768"};
    const struct {
        const char* what;
        std::string bytes;
        SettingsLoad load;
        std::vector<std::string> list;
    } cases[] = {
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" "800x600\r\n1024x768\r\n", SettingsLoad::Read, both},
        {"UTF-16 LE, as Notepad and PowerShell 5 save", utf16Bytes(sizes, true), SettingsLoad::Read, both},
        {"UTF-16 BE", utf16Bytes(sizes, false), SettingsLoad::Read, both},
        {"blank", " \r\n\r\n\t", SettingsLoad::Read, {}},
        {"UTF-16 blank", utf16Bytes(u"\xFEFF\r\n", true), SettingsLoad::Read, {}},
        {"words and a size cut by blanks", "Sizes: 800 x 600\r\n", SettingsLoad::HoldsNoSize, {}},
        {"UTF-16 LE without its mark", utf16Bytes(u"800x600\r\n", true), SettingsLoad::HoldsNoSize, {}},
        {"one token too long to be a size", std::string(300, '8'), SettingsLoad::HoldsNoSize, {}},
    };
    const std::wstring settings = file(L"settings.txt");
    for (const auto& c : cases) {
        ASSERT_TRUE(writeFileBytes(settings, bytesOf(c.bytes))) << c.what;
        EXPECT_EQ(readSettingsFile(utf8Path(settings)), c.load) << c.what;
        EXPECT_EQ(listTexts(), c.list) << c.what;
        for (const Utf8String& text : sizeList.texts()) sizeList.removeText(text);
    }
}

TEST_F(SettingsFile, WritesCrLfLinesAndRegistersTheVerbs)
{
    const std::wstring settings = file(L"settings.txt");
    SaveResult saved = writeSettingsFile(utf8Path(settings));
    EXPECT_TRUE(saved.listWritten && saved.verbsWritten);
    EXPECT_EQ(textOf(readFileBytes(settings)), "");

    sizeList.addText(Utf8String::fromAnsi("800x600"));
    sizeList.addText(Utf8String::fromAnsi("1024x768"));
    saved = writeSettingsFile(utf8Path(settings));
    EXPECT_TRUE(saved.listWritten && saved.verbsWritten);
    EXPECT_EQ(textOf(readFileBytes(settings)), "800x600\r\n1024x768\r\n");
    EXPECT_TRUE(defaultValueOf(HKEY_CURRENT_USER, L"Software\\Classes\\SystemFileAssociations\\.png\\shell\\Resize 1024x768...\\command"));
    EXPECT_FALSE(pathExists(settings + L".new"));
}

TEST_F(SettingsFile, AFailedWriteKeepsTheOldListButStillRebuildsTheVerbs)
{
    const std::wstring settings = file(L"settings.txt");
    ASSERT_TRUE(writeFileBytes(settings, bytesOf("320x240\r\n")));
    // The temporary file cannot be made where a folder has its name.
    ASSERT_TRUE(CreateDirectoryW((settings + L".new").c_str(), nullptr));

    sizeList.addText(Utf8String::fromAnsi("800x600"));
    const SaveResult saved = writeSettingsFile(utf8Path(settings));
    EXPECT_FALSE(saved.listWritten);
    EXPECT_TRUE(saved.verbsWritten);
    EXPECT_EQ(textOf(readFileBytes(settings)), "320x240\r\n");
    EXPECT_TRUE(defaultValueOf(HKEY_CURRENT_USER, L"Software\\Classes\\SystemFileAssociations\\.jpg\\shell\\Resize 800x600...\\command"));
}

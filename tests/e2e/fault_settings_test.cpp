#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/run_application.h"
#include "base/win32_handles.h"
#include "tests/e2e/fault_checks.h"
#include "tests/e2e/install_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/file_system.h"
#include "tests/support/utf8_conversion.h"
#include "tests/utf16_bytes.h"

namespace {

constexpr size_t kMebibyte = 1024 * 1024;
// Long enough for a slow machine under Wine.
constexpr DWORD kTimeLimitMs = 30000;

// About ten megabytes of tokens that are no size, some of them nearly one,
// with a few real sizes at the start, in the middle and at the very end.
std::string largeSettings()
{
    const char* const junk[] = {"lorem", "ipsum", "0x0", "x600", "800x", "-1x-1", "dolor", "x", "sit,amet", "0x480"};
    const char* const separators[] = {" ", "\t", "\r\n", "\n", "  "};
    std::string text = "640x480\r\n";
    for (size_t i = 0; text.size() < 10 * kMebibyte; ++i) {
        if (i == 700000) text += "1280x720 640x480 ";
        text += junk[i % 10];
        text += separators[i % 5];
    }
    return text + "320x200";
}

// A token of the given length that would read as 1600x1200 if it were cut.
std::string longToken(size_t length)
{
    std::string token = "1600x1200";
    token.resize(length, 'p');
    return token;
}

struct SettingsCase {
    const char* name;
    std::string text;
    std::vector<std::wstring> sizes;
    std::string rewritten;
    // Words that are no options, which the list leaves out, keep the file
    // whole in settings.txt.bak.
    bool backedUp = false;
};

}  // namespace

TEST_F(InstallCommand, RegistersTheSizesOfAHugeOrOddSettingsFile)
{
    const SettingsCase cases[] = {
        {"10 MB of junk", largeSettings(), {L"640x480", L"1280x720", L"320x200"},
         "640x480\r\n1280x720\r\n320x200\r\n", true},
        {"a 100000-byte token", "640x480\r\n" + longToken(100000) + "\r\n800x600\r\n", {L"640x480", L"800x600"},
         "640x480\r\n800x600\r\n"},
        {"a 260-byte token", "640x480 " + longToken(260) + " 800x600", {L"640x480", L"800x600"},
         "640x480\r\n800x600\r\n"},
        {"a 259-byte token", "640x480 " + longToken(259) + " 800x600", {L"640x480", L"1600x1200", L"800x600"},
         "640x480\r\n1600x1200\r\n800x600\r\n"},
        // What Notepad's "Unicode" and PowerShell 5's Out-File save, and Notepad's "Unicode big endian".
        {"UTF-16 LE", utf16Bytes(u"\xFEFF" u"800x600\r\n1024x768\r\n", true), kInstalledSizes, kInstalledSettings},
        {"UTF-16 BE", utf16Bytes(u"\xFEFF" u"1024x768 800x600", false), {L"1024x768", L"800x600"},
         "1024x768\r\n800x600\r\n"},
    };
    const std::wstring folder = folderOf(copy_);
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeFileText(folder + L"\\settings.txt", c.text));
        FolderContent expected = contentOf(folder);
        // Install writes the list back, one size a line.
        expected[L"settings.txt"].bytes = Bytes(c.rewritten.begin(), c.rewritten.end());
        if (c.backedUp) expected[L"settings.txt.bak"].bytes = Bytes(c.text.begin(), c.text.end());

        EXPECT_TRUE(runs(L"Install"));

        EXPECT_TRUE(noCrashHandlerRunning());
        EXPECT_EQ(newVerbs(), expectedVerbs(kEnglishVerbName, copy_, c.sizes));
        EXPECT_TRUE(holdsAsBefore(folder, expected));
    }
}

namespace {

// The verb name line of a translation: "%sResize %s...\command=%s<name> %s...\command".
std::string verbNameLine(const std::string& name)
{
    return "%sResize %s...\\command=%s" + name + " %s...\\command";
}

// Lines of filler from the text's end up to the given length, which the
// last of them reaches exactly.
void fillTo(std::string& text, size_t length)
{
    const std::string line = "Filler line=Some text that no dialog shows\r\n";
    while (text.size() + 2 * line.size() < length) text += line;
    text += std::string(length - text.size() - 2, '#') + "\r\n";
}

// Two megabytes: a verb name in the first line, another in a line that the
// first mebibyte ends just before its CR, a third one after it.
std::string largeTranslation()
{
    std::string text = verbNameLine("First") + "\r\n";
    const std::string cut = verbNameLine("Cut");
    fillTo(text, kMebibyte - cut.size());
    text += cut + "\r\n" + verbNameLine("Late") + "\r\n";
    fillTo(text, 2 * kMebibyte);
    return text;
}

// A shipped translation as UTF-16 with its byte order mark, as Notepad saves "Unicode".
std::string utf16Translation(const std::wstring& shippedFile, bool littleEndian)
{
    const std::wstring text = L"\xFEFF" + fromUtf8(readFileText(shippedFile).value_or(""));
    return utf16Bytes(std::u16string(text.begin(), text.end()), littleEndian);
}

struct TranslationCase {
    const char* name;
    std::string text;
    std::wstring nameFormat;
};

}  // namespace

TEST_F(InstallCommand, NamesTheVerbsFromWhatItReadsOfAnOddTranslation)
{
    const std::wstring russian = verbNameFormatIn(shipped(L"rus_translate.txt"));
    ASSERT_NE(russian, kEnglishVerbName);
    const TranslationCase cases[] = {
        {"2 MB, read to the last whole line in the first MiB", largeTranslation(), L"First %s..."},
        {"UTF-16 LE", utf16Translation(shipped(L"rus_translate.txt"), true), russian},
        {"UTF-16 BE", utf16Translation(shipped(L"rus_translate.txt"), false), russian},
    };
    const std::wstring folder = folderOf(copy_);
    for (const TranslationCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeFileText(folder + L"\\current_translate.txt", c.text));
        const FolderContent before = contentOf(folder);

        EXPECT_TRUE(runs(L"Install"));

        EXPECT_TRUE(noCrashHandlerRunning());
        EXPECT_EQ(newVerbs(), installed(c.nameFormat));
        EXPECT_TRUE(holdsAsBefore(folder, before));
    }
}

namespace {

// What stands in the copy's folder when Install writes its settings.
enum class Obstacle { NewFileIsAFolder, ReadOnlySettings, NewFileLeftOver };

// Whether Install's rewrite of settings.txt gets through. Windows refuses to
// replace a read-only file; Wine 8 replaces it.
enum class Rewrite { Never, Always, WhereTheSystemAllows };

struct UnwritableCase {
    const char* name;
    Obstacle obstacle;
    std::vector<std::wstring> sizes;
    Rewrite rewrite;
};

}  // namespace

TEST_F(InstallCommand, KeepsTheOldSettingsAndRegistersTheListWhenTheWriteFails)
{
    // Untidy on purpose: a rewrite would show in its bytes.
    const std::string settings = "640x480 \t\n320x240";
    const std::string rewritten = "640x480\r\n320x240\r\n";
    const UnwritableCase cases[] = {
        {"settings.txt.new is a folder", Obstacle::NewFileIsAFolder, {L"640x480", L"320x240"}, Rewrite::Never},
        {"settings.txt is read-only", Obstacle::ReadOnlySettings, {L"640x480", L"320x240"},
         Rewrite::WhereTheSystemAllows},
        {"settings.txt.new is left over", Obstacle::NewFileLeftOver, {L"640x480", L"320x240"}, Rewrite::Always},
    };
    const std::wstring folder = folderOf(copy_);
    const std::wstring settingsPath = folder + L"\\settings.txt";
    const std::wstring newPath = settingsPath + L".new";
    for (const UnwritableCase& c : cases) {
        SCOPED_TRACE(c.name);
        // What the case before left, file or folder.
        for (const std::wstring& path : {newPath, settingsPath}) {
            removeTree(path);
            DeleteFileW(path.c_str());
        }
        ASSERT_TRUE(writeFileText(settingsPath, settings));
        if (c.obstacle == Obstacle::NewFileIsAFolder) {
            ASSERT_TRUE(CreateDirectoryW(newPath.c_str(), nullptr));
        }
        if (c.obstacle == Obstacle::NewFileLeftOver) {
            ASSERT_TRUE(writeFileText(newPath, "half a list\r\n10"));
        }
        std::optional<ScopedAttributes> readOnly;
        if (c.obstacle == Obstacle::ReadOnlySettings) {
            readOnly.emplace(settingsPath, FILE_ATTRIBUTE_READONLY);
            ASSERT_TRUE(readOnly->applied());
        }
        FolderContent expected = contentOf(folder);

        const ChildRun run = runInJob(copy_, quotedPath(copy_) + L" Install", kTimeLimitMs);
        ASSERT_TRUE(run.finished);

        // A rewrite is whole, and leaves no settings.txt.new; a failed one
        // ends Install with the exit code that tells the installer.
        const bool rewrote = readFileText(settingsPath) == rewritten;
        const bool replaced = c.rewrite == Rewrite::Always || (c.rewrite == Rewrite::WhereTheSystemAllows && rewrote);
        if (replaced) {
            expected[L"settings.txt"].bytes = Bytes(rewritten.begin(), rewritten.end());
            expected.erase(L"settings.txt.new");
        }
        EXPECT_EQ(run.exitCode, replaced ? 0u : static_cast<DWORD>(kWriteFailed));

        EXPECT_TRUE(noCrashHandlerRunning());
        EXPECT_EQ(newVerbs(), expectedVerbs(kEnglishVerbName, copy_, c.sizes));
        EXPECT_TRUE(holdsAsBefore(folder, expected));
    }
}

TEST_F(InstallCommand, LeavesTheVerbsAsTheyAreWhenTheSettingsCannotBeRead)
{
    const std::wstring folder = folderOf(copy_);
    const std::wstring settingsPath = folder + L"\\settings.txt";
    ASSERT_TRUE(runs(L"Install"));
    ASSERT_EQ(newVerbs(), installed(kEnglishVerbName));

    // Each file holds another list than the one installed, which a read would show in the verbs.
    enum class Unreadable { HeldByAnotherProgram, HoldsNoSize, AFolder };
    const struct {
        const char* name;
        Unreadable how;
        std::string text;
    } cases[] = {
        {"held by another program", Unreadable::HeldByAnotherProgram, "640x480\r\n"},
        {"words and a size cut by blanks", Unreadable::HoldsNoSize, "Sizes: 640 x 480\r\n"},
        {"UTF-16 LE without its mark", Unreadable::HoldsNoSize, utf16Bytes(u"640x480\r\n", true)},
        {"a folder", Unreadable::AFolder, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.how == Unreadable::AFolder) {
            ASSERT_TRUE(DeleteFileW(settingsPath.c_str()));
            ASSERT_TRUE(CreateDirectoryW(settingsPath.c_str(), nullptr));
        } else {
            ASSERT_TRUE(writeFileText(settingsPath, c.text));
        }
        const FolderContent before = contentOf(folder);
        {
            // Opened without sharing, as a program that keeps the file to itself does.
            const FileHandle holder(c.how == Unreadable::HeldByAnotherProgram
                                        ? CreateFileW(settingsPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr)
                                        : INVALID_HANDLE_VALUE);
            ASSERT_EQ(bool(holder), c.how == Unreadable::HeldByAnotherProgram);

            // The one run that does not end with 0: it did not do what it was asked.
            EXPECT_TRUE(runs(L"Install", kSettingsUnread));
        }
        EXPECT_TRUE(noCrashHandlerRunning());
        EXPECT_EQ(newVerbs(), installed(kEnglishVerbName));
        EXPECT_TRUE(holdsAsBefore(folder, before));
    }
}

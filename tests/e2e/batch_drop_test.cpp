#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/win32_handles.h"
#include "tests/e2e/explorer_drop.h"
#include "tests/e2e/install_fixture.h"
#include "tests/e2e/open_command_override.h"
#include "tests/e2e/resize_workspace.h"
#include "tests/e2e/test_programs.h"
#include "tests/support/file_system.h"
#include "tests/support/picture_reader.h"
#include "tests/support/registry_reading.h"
#include "tests/support/test_pictures.h"
#include "ui/resource.h"

namespace {

// Long enough for a batch under Wine on a slow machine, and for the server's
// linger after it.
constexpr DWORD kServerTimeLimitMs = 90000;

// The classes of the two installed sizes: the width, the height, then the
// program's own eight bytes.
const struct {
    const wchar_t* size;
    const wchar_t* classId;
} kInstalledClasses[] = {
    {L"800x600", L"{00000320-0000-0258-9A4E-2C6150117DB3}"},
    {L"1024x768", L"{00000400-0000-0300-9A4E-2C6150117DB3}"},
};

// A registry view of the machine's classes, as 64-bit and 32-bit programs see them.
const DWORD kViews[] = {RRF_SUBKEY_WOW6464KEY, RRF_SUBKEY_WOW6432KEY};

std::wstring serverKeyOf(const std::wstring& classId)
{
    return L"Software\\Classes\\CLSID\\" + classId + L"\\LocalServer32";
}

struct DroppedFile {
    std::wstring name;
    PictureFormat format;  // Bmp stands for a file that is no picture at all
    std::wstring copy;     // empty: no copy is expected, even of a real picture
};

// Writes the sources of a table into a folder; their full paths.
std::vector<std::wstring> writeSources(const std::wstring& folder, const std::vector<DroppedFile>& files)
{
    std::vector<std::wstring> paths;
    for (const DroppedFile& file : files) {
        const std::wstring path = folder + L"\\" + file.name;
        const bool written = file.format == PictureFormat::Bmp ? writeFileText(path, "not a picture\r\n")
                                                                : makePicture(path, 160, 120, file.format, kFourColours);
        if (!written) return {};
        paths.push_back(path);
    }
    return paths;
}

// Every source stays, every expected copy is there, decodes, and is 800x600.
testing::AssertionResult holdsSourcesAndCopies(const std::wstring& folder, const std::vector<DroppedFile>& files)
{
    std::vector<std::wstring> expected;
    for (const DroppedFile& file : files) {
        expected.push_back(file.name);
        if (file.copy.empty()) continue;
        expected.push_back(file.copy);
        const auto copy = decodePicture(folder + L"\\" + file.copy);
        if (!copy || copy->width != 800 || copy->height != 600)
            return testing::AssertionFailure() << "no whole 800x600 copy of source " << expected.size() / 2;
    }
    if (folderEntries(folder) != sortedNames(expected))
        return testing::AssertionFailure() << "the folder holds other files than the sources and their copies";
    return testing::AssertionSuccess();
}

std::vector<DroppedFile> numberedJpegs(const std::wstring& stem, int count)
{
    std::vector<DroppedFile> files;
    for (int i = 1; i <= count; ++i) {
        const std::wstring name = stem + std::to_wstring(i);
        files.push_back({name + L".jpg", PictureFormat::Jpeg, name + L"_800x600.jpg"});
    }
    return files;
}

}  // namespace

class BatchDrop : public InstallCommand {
protected:
    void SetUp() override
    {
        InstallCommand::SetUp();
        openCommand_ = std::make_unique<OpenCommandOverride>(recorderPath());
        ASSERT_TRUE(openCommand_->applied()) << "could not point the shell's open actions at open_recorder.exe";
        ASSERT_TRUE(runs(L"Install"));
    }

    // What Explorer reads to find the class of the 800x600 verb on JPEGs.
    std::wstring registeredClass() const
    {
        return textValueOf(HKEY_CLASSES_ROOT, L"SystemFileAssociations\\.jpg\\shell\\Resize 800x600...\\DropTarget", L"Clsid")
            .value_or(L"");
    }

    std::unique_ptr<OpenCommandOverride> openCommand_;
    const ComApartment apartment_;
};

TEST_F(BatchDrop, EveryVerbNamesItsSizesClassInBothRegistryViewsUntilUninstall)
{
    for (const auto& installed : kInstalledClasses) {
        SCOPED_TRACE(testing::Message() << installed.size);
        for (const wchar_t* type : kPictureTypes) {
            const std::wstring verb = std::wstring(type) + L"\\shell\\Resize " + installed.size + L"...";
            EXPECT_EQ(textValueOf(HKEY_CLASSES_ROOT, verb + L"\\DropTarget", L"Clsid").value_or(L""),
                      installed.classId);
            EXPECT_EQ(textValueOf(HKEY_CLASSES_ROOT, verb, L"MultiSelectModel").value_or(L""), L"Player");
        }
        for (const DWORD view : kViews) {
            EXPECT_EQ(textValueOf(HKEY_LOCAL_MACHINE, serverKeyOf(installed.classId), nullptr, view).value_or(L""),
                      quotedPath(copy_) + L" -serve " + installed.size);
        }
    }

    ASSERT_TRUE(runs(L"Uninstall"));

    for (const auto& installed : kInstalledClasses) {
        for (const DWORD view : kViews) {
            EXPECT_FALSE(textValueOf(HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID\\" + std::wstring(installed.classId),
                                     nullptr, view))
                << "class of " << installed.size << " left behind";
        }
    }
}

TEST_F(BatchDrop, OneServerResizesAWholeMixedSelectionAndOpensOneWindowPerFolder)
{
    ResizeWorkspace workspace(L"Holiday photos");
    ASSERT_TRUE(workspace.ready());
    const std::wstring second = workspace.addFolder(L"Сканы и рисунки");
    ASSERT_FALSE(second.empty());

    std::vector<DroppedFile> first = numberedJpegs(L"beach ", 13);
    first.push_back({L"sunset.png", PictureFormat::Png, L"sunset_800x600.png"});
    first.push_back({L"broken.jpg", PictureFormat::Bmp, L""});
    std::vector<DroppedFile> other = numberedJpegs(L"скан ", 10);
    for (const DroppedFile& file : {DroppedFile{L"рисунок.gif", PictureFormat::Gif, L"рисунок_800x600.gif"},
                                    DroppedFile{L"plan.PNG", PictureFormat::Png, L"plan_800x600.PNG"},
                                    DroppedFile{L"map.jpeg", PictureFormat::Jpeg, L"map_800x600.jpeg"},
                                    DroppedFile{L"logo.gif", PictureFormat::Gif, L"logo_800x600.gif"},
                                    DroppedFile{L"notes.txt", PictureFormat::Png, L""}})
        other.push_back(file);
    std::vector<std::wstring> dropped = writeSources(workspace.pictures(), first);
    const std::vector<std::wstring> otherPaths = writeSources(second, other);
    ASSERT_EQ(dropped.size() + otherPaths.size(), 30u);
    dropped.insert(dropped.end(), otherPaths.begin(), otherPaths.end());

    ProgramWatch server(copy_);
    EXPECT_EQ(dropOnClass(registeredClass(), dropped), S_OK);
    EXPECT_TRUE(server.waitForEnd(kServerTimeLimitMs)) << "the server did not end";

    EXPECT_EQ(server.seen().size(), 1u) << "one drop, one server process";
    EXPECT_TRUE(holdsSourcesAndCopies(workspace.pictures(), first));
    EXPECT_TRUE(holdsSourcesAndCopies(second, other));
    // One folder window each, which Wine's shell starts without the folder's name.
    EXPECT_EQ(workspace.openedFiles(), std::vector<std::wstring>(2, L""));
}

TEST_F(BatchDrop, CancelFinishesThePicturesInHandAndStartsNoOther)
{
    ResizeWorkspace workspace(L"Big photos");
    ASSERT_TRUE(workspace.ready());
    constexpr int kCount = 40;
    const std::wstring model = workspace.picture(L"model.jpg");
    ASSERT_TRUE(makePicture(model, 4000, 3000, PictureFormat::Jpeg, kFourColours));
    std::vector<std::wstring> dropped;
    for (int i = 1; i <= kCount; ++i) {
        dropped.push_back(workspace.picture(L"photo " + std::to_wstring(i) + L".jpg"));
        ASSERT_TRUE(CopyFileW(model.c_str(), dropped.back().c_str(), TRUE));
    }
    ASSERT_TRUE(DeleteFileW(model.c_str()));
    const std::vector<std::wstring> sources = workspace.entries();

    ProgramWatch server(copy_);
    EXPECT_EQ(dropOnClass(registeredClass(), dropped), S_OK);
    HWND progress = nullptr;
    for (int wait = 0; wait < 300 && !progress; ++wait, Sleep(100)) progress = server.windowTitled(L"Pellavo");
    ASSERT_TRUE(progress) << "no progress window";
    wchar_t text[100] = {};
    GetDlgItemTextW(progress, IDC_PROGRESS_TEXT, text, 100);
    const std::wstring line = text;
    const std::wstring tail = L" of 40...";
    EXPECT_TRUE(line.rfind(L"Resizing ", 0) == 0 && line.size() > tail.size() &&
                line.compare(line.size() - tail.size(), tail.size(), tail) == 0)
        << "the progress line, " << line.size() << " characters";
    PostMessageW(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(server.waitForEnd(kServerTimeLimitMs)) << "the server did not end";

    size_t copies = 0;
    for (const std::wstring& name : workspace.entries()) {
        if (std::find(sources.begin(), sources.end(), name) != sources.end()) continue;
        SCOPED_TRACE(testing::Message() << "copy " << copies);
        ++copies;
        EXPECT_EQ(name.substr(name.size() - 12), L"_800x600.jpg");
        const auto copy = decodePicture(workspace.picture(name));
        EXPECT_TRUE(copy && copy->width == 800 && copy->height == 600) << "a copy that is not whole";
    }
    EXPECT_GT(copies, 0u);
    EXPECT_LT(copies, static_cast<size_t>(kCount)) << "Cancel stopped nothing";
    EXPECT_EQ(server.seen().size(), 1u);
}

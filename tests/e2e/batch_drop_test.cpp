#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/win32_handles.h"
#include "tests/e2e/explorer_drop.h"
#include "tests/e2e/fault_checks.h"
#include "tests/e2e/install_fixture.h"
#include "tests/e2e/open_command_override.h"
#include "tests/e2e/resize_workspace.h"
#include "tests/e2e/test_programs.h"
#include "tests/support/file_system.h"
#include "tests/support/picture_reader.h"
#include "tests/support/registry_reading.h"
#include "tests/support/test_pictures.h"
#include "tests/support/utf8_conversion.h"
#include "tests/support/window_reading.h"
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

// The full paths of the sources of a table in a folder.
std::vector<std::wstring> pathsIn(const std::wstring& folder, const std::vector<DroppedFile>& files)
{
    std::vector<std::wstring> paths;
    for (const DroppedFile& file : files) paths.push_back(folder + L"\\" + file.name);
    return paths;
}

// Writes the sources of a table into a folder; their full paths.
std::vector<std::wstring> writeSources(const std::wstring& folder, const std::vector<DroppedFile>& files)
{
    const std::vector<std::wstring> paths = pathsIn(folder, files);
    for (size_t i = 0; i < files.size(); ++i) {
        const bool written = files[i].format == PictureFormat::Bmp
                                 ? writeFileText(paths[i], "not a picture\r\n")
                                 : makePicture(paths[i], 160, 120, files[i].format, kFourColours);
        if (!written) return {};
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
    const std::vector<std::wstring> entries = folderEntries(folder);
    if (entries != sortedNames(expected)) {
        testing::AssertionResult failure = testing::AssertionFailure();
        failure << "the folder holds other files than the sources and their copies:";
        for (const std::wstring& entry : entries) failure << " \"" << toUtf8(entry) << "\"";
        return failure;
    }
    return testing::AssertionSuccess();
}

// Copies of one 4000x3000 PNG, which takes GDI+ long enough to decode that a
// batch of them still runs when the test acts; empty when they could not be made.
std::vector<DroppedFile> bigPhotos(const std::wstring& folder, int count)
{
    const std::wstring model = folder + L"\\model.png";
    if (!makePicture(model, 4000, 3000, PictureFormat::Png, kFourColours)) return {};
    std::vector<DroppedFile> photos;
    for (int i = 1; i <= count; ++i) {
        const std::wstring name = L"photo " + std::to_wstring(i);
        photos.push_back({name + L".png", PictureFormat::Png, name + L"_800x600.png"});
    }
    for (const std::wstring& path : pathsIn(folder, photos)) {
        if (!CopyFileW(model.c_str(), path.c_str(), TRUE)) return {};
    }
    return DeleteFileW(model.c_str()) ? photos : std::vector<DroppedFile>();
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

// The window of a batch's account, once its OK shows; null when none comes.
HWND accountWindow(ProgramWatch& server)
{
    for (int wait = 0; wait < 600; ++wait, Sleep(100)) {
        const HWND window = server.windowTitled(L"Pellavo");
        if (window && IsWindowVisible(GetDlgItem(window, IDOK))) return window;
    }
    return nullptr;
}

RECT screenBox(HWND dialog, int controlId)
{
    RECT box = {};
    GetWindowRect(controlId ? GetDlgItem(dialog, controlId) : dialog, &box);
    return box;
}

// The account in place of the progress: the text grown from one line to hold
// its five (a line is 8 dialog units high, OK 14), OK under it, no bar and no
// Cancel, and the whole window on the screen.
testing::AssertionResult laidOutAsAnAccount(HWND account)
{
    const RECT text = screenBox(account, IDC_PROGRESS_TEXT);
    const RECT ok = screenBox(account, IDOK);
    const RECT window = screenBox(account, 0);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(account, MONITOR_DEFAULTTONEAREST), &monitor);
    if (IsWindowVisible(GetDlgItem(account, IDC_PROGRESS_BAR)) || IsWindowVisible(GetDlgItem(account, IDCANCEL)))
        return testing::AssertionFailure() << "the bar or Cancel still shows";
    if ((text.bottom - text.top) * 14 <= (ok.bottom - ok.top) * 4 * 8)
        return testing::AssertionFailure() << "the text is " << text.bottom - text.top << " pixels high";
    if (ok.top < text.bottom) return testing::AssertionFailure() << "OK covers the text";
    const RECT& work = monitor.rcWork;
    if (window.top < work.top || window.bottom > work.bottom || window.left < work.left || window.right > work.right)
        return testing::AssertionFailure() << "the window leaves the screen";
    return testing::AssertionSuccess();
}

// The latest, or earliest, time a file of the list was written.
ULONGLONG writeTime(const std::wstring& folder, const std::vector<DroppedFile>& files, bool latest)
{
    ULONGLONG found = latest ? 0 : ~0ULL;
    for (const DroppedFile& file : files) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (!GetFileAttributesExW((folder + L"\\" + file.copy).c_str(), GetFileExInfoStandard, &data)) continue;
        const ULONGLONG time = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                               data.ftLastWriteTime.dwLowDateTime;
        found = latest ? std::max(found, time) : std::min(found, time);
    }
    return found;
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
    std::vector<DroppedFile> other = numberedJpegs(L"скан ", 10);
    for (const DroppedFile& file : {DroppedFile{L"рисунок.gif", PictureFormat::Gif, L"рисунок_800x600.gif"},
                                    DroppedFile{L"plan.PNG", PictureFormat::Png, L"plan_800x600.PNG"},
                                    DroppedFile{L"map.jpeg", PictureFormat::Jpeg, L"map_800x600.jpeg"},
                                    DroppedFile{L"logo.gif", PictureFormat::Gif, L"logo_800x600.gif"},
                                    // Kinds that only a Windows codec's list gives the verbs.
                                    DroppedFile{L"scan.tif", PictureFormat::Tiff, L"scan_800x600.tif"},
                                    DroppedFile{L"fax.TIFF", PictureFormat::Tiff, L"fax_800x600.TIFF"},
                                    DroppedFile{L"notes.txt", PictureFormat::Png, L""}})
        other.push_back(file);
    std::vector<std::wstring> dropped = writeSources(workspace.pictures(), first);
    const std::vector<std::wstring> otherPaths = writeSources(second, other);
    ASSERT_EQ(dropped.size() + otherPaths.size(), 31u);
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

TEST_F(BatchDrop, APresetsOptionsHoldForEveryPictureOfADrop)
{
    const std::wstring folder = copy_.substr(0, copy_.rfind(L'\\'));
    ASSERT_TRUE(writeFileText(folder + L"\\settings.txt", "800x600 png never-larger keep-date\r\n"));
    ASSERT_TRUE(runs(L"Install"));
    const std::wstring verb = L"SystemFileAssociations\\.jpg\\shell\\Resize 800x600 (PNG, never larger, picture's date)...";
    // Its own class: the option bytes differ from those of the plain 800x600.
    const std::wstring classId = textValueOf(HKEY_CLASSES_ROOT, verb + L"\\DropTarget", L"Clsid").value_or(L"");
    ASSERT_EQ(classId, L"{00000320-0000-0258-9A4E-2C6150114FB3}");
    EXPECT_EQ(textValueOf(HKEY_LOCAL_MACHINE, serverKeyOf(classId), nullptr).value_or(L""),
              quotedPath(copy_) + L" -serve 800x600 png never-larger keep-date");

    ResizeWorkspace workspace;
    ASSERT_TRUE(workspace.ready());
    const std::vector<DroppedFile> photos = numberedJpegs(L"photo ", 3);
    const std::vector<std::wstring> dropped = writeSources(workspace.pictures(), photos);
    ASSERT_EQ(dropped.size(), 3u);
    // A date long past, 1 January 2001, which only a kept date gives a copy.
    const uint64_t longAgo = 126227808000000000ull;
    for (const std::wstring& path : dropped) ASSERT_TRUE(setModificationTime(path, longAgo));

    ProgramWatch server(copy_);
    EXPECT_EQ(dropOnClass(classId, dropped), S_OK);
    EXPECT_TRUE(server.waitForEnd(kServerTimeLimitMs)) << "the server did not end";

    for (int i = 1; i <= 3; ++i) {
        // 160x120, within 800x600: a PNG copy of its own size, dated as the photo.
        const std::wstring copy = workspace.picture(L"photo " + std::to_wstring(i) + L"_160x120.png");
        const auto picture = decodePicture(copy);
        EXPECT_TRUE(picture && picture->width == 160 && picture->height == 120) << "copy " << i;
        EXPECT_EQ(modificationTime(copy), longAgo) << "copy " << i;
    }
    EXPECT_EQ(workspace.entries().size(), 6u);
}

TEST_F(BatchDrop, CancelFinishesThePicturesInHandAndStartsNoOther)
{
    ResizeWorkspace workspace(L"Big photos");
    ASSERT_TRUE(workspace.ready());
    constexpr int kCount = 40;
    const std::vector<DroppedFile> photos = bigPhotos(workspace.pictures(), kCount);
    ASSERT_EQ(photos.size(), static_cast<size_t>(kCount));
    const std::vector<std::wstring> dropped = pathsIn(workspace.pictures(), photos);
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
        EXPECT_EQ(name.substr(name.size() - 12), L"_800x600.png");
        const auto copy = decodePicture(workspace.picture(name));
        EXPECT_TRUE(copy && copy->width == 800 && copy->height == 600) << "a copy that is not whole";
    }
    EXPECT_GT(copies, 0u);
    EXPECT_LT(copies, static_cast<size_t>(kCount)) << "Cancel stopped nothing";
    EXPECT_EQ(server.seen().size(), 1u);
}

TEST_F(BatchDrop, ADropOfTenSaysWhichPicturesGaveNoCopyAndWhyOrClosesByItself)
{
    const struct {
        const char* name;
        const wchar_t* translation;  // null: English
        bool faulty;                 // one not a picture, one held open, one where nothing can be written
        const wchar_t* account;
    } rows[] = {
        {"all copied", nullptr, false, nullptr},
        {"three without a copy", nullptr, true,
         L"Copies made: 7 of 10.\nNo copy was made of:\nnotes.jpg — not a picture\nlocked.jpg — cannot be read\n"
         L"kept.png — cannot write beside it"},
        {"three without a copy, in Russian", L"rus_translate.txt", true,
         L"Сделано копий: 7 из 10.\nНе удалось сделать копию:\nnotes.jpg — это не картинка\n"
         L"locked.jpg — не читается\nkept.png — рядом нельзя записать"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.translation) {
            ASSERT_TRUE(useTranslation(row.translation));
        }
        ResizeWorkspace workspace(L"Ten photos");
        ASSERT_TRUE(workspace.ready());
        const std::wstring keptFolder = workspace.addFolder(L"Kept");
        ASSERT_FALSE(keptFolder.empty());
        std::vector<DroppedFile> pictures = numberedJpegs(L"photo ", row.faulty ? 7 : 9);
        std::vector<DroppedFile> kept = {{L"kept.png", PictureFormat::Png, row.faulty ? L"" : L"kept_800x600.png"}};
        if (row.faulty) {
            pictures.insert(pictures.begin() + 3, {L"notes.jpg", PictureFormat::Bmp, L""});
            pictures.insert(pictures.begin() + 6, {L"locked.jpg", PictureFormat::Jpeg, L""});
        }
        std::vector<std::wstring> dropped = writeSources(workspace.pictures(), pictures);
        const std::vector<std::wstring> keptPaths = writeSources(keptFolder, kept);
        ASSERT_EQ(dropped.size() + keptPaths.size(), 10u);
        dropped.insert(dropped.end(), keptPaths.begin(), keptPaths.end());
        const FileHandle locked(row.faulty ? CreateFileW(workspace.picture(L"locked.jpg").c_str(), GENERIC_READ, 0,
                                                         nullptr, OPEN_EXISTING, 0, nullptr)
                                           : INVALID_HANDLE_VALUE);
        const ScopedImmutable unwritable(row.faulty ? std::vector<std::wstring>{keptFolder} : std::vector<std::wstring>{});
        ASSERT_TRUE(unwritable.applied());
        ASSERT_EQ(static_cast<bool>(locked), row.faulty);

        ProgramWatch server(copy_);
        EXPECT_EQ(dropOnClass(registeredClass(), dropped), S_OK);
        if (row.faulty) {
            const HWND account = accountWindow(server);
            ASSERT_TRUE(account) << "no account of the pictures without a copy";
            EXPECT_EQ(itemText(account, IDC_PROGRESS_TEXT), row.account);
            EXPECT_TRUE(laidOutAsAnAccount(account));
            EXPECT_TRUE(holdsSourcesAndCopies(workspace.pictures(), pictures));
            EXPECT_FALSE(server.waitForEnd(0)) << "the server ended before its account was read";
            EXPECT_TRUE(workspace.openedFiles().empty()) << "the copies showed before the account was read";
            PostMessageW(account, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        EXPECT_TRUE(server.waitForEnd(kServerTimeLimitMs)) << "the server did not end";
        EXPECT_EQ(server.seen().size(), 1u);
        EXPECT_TRUE(holdsSourcesAndCopies(workspace.pictures(), pictures));
        EXPECT_TRUE(holdsSourcesAndCopies(keptFolder, kept));
        // One folder window, for the pictures folder: none where nothing was copied.
        EXPECT_EQ(workspace.openedFiles(), std::vector<std::wstring>(row.faulty ? 1 : 2, L""));
    }
}

TEST_F(BatchDrop, ASecondDropWhileOneRunsWaitsForItThenRuns)
{
    ResizeWorkspace workspace(L"Big photos");
    ASSERT_TRUE(workspace.ready());
    const std::wstring second = workspace.addFolder(L"Small photos");
    ASSERT_FALSE(second.empty());
    const std::vector<DroppedFile> big = bigPhotos(workspace.pictures(), 8);
    ASSERT_EQ(big.size(), 8u);
    const std::vector<std::wstring> firstDrop = pathsIn(workspace.pictures(), big);
    const std::vector<DroppedFile> small = numberedJpegs(L"small ", 4);
    const std::vector<std::wstring> secondDrop = writeSources(second, small);
    ASSERT_EQ(secondDrop.size(), small.size());

    ProgramWatch server(copy_);
    EXPECT_EQ(dropOnClass(registeredClass(), firstDrop), S_OK);
    EXPECT_EQ(dropOnClass(registeredClass(), secondDrop), S_OK);
    ASSERT_LT(workspace.entries().size(), 2 * big.size()) << "the first batch ended before the second drop came";
    EXPECT_TRUE(server.waitForEnd(kServerTimeLimitMs)) << "the server did not end";

    EXPECT_EQ(server.seen().size(), 1u) << "both drops went to the running server";
    EXPECT_TRUE(holdsSourcesAndCopies(workspace.pictures(), big));
    EXPECT_TRUE(holdsSourcesAndCopies(second, small));
    EXPECT_LE(writeTime(workspace.pictures(), big, true), writeTime(second, small, false))
        << "a copy of the second drop was written while the first batch ran";
    EXPECT_EQ(workspace.openedFiles(), std::vector<std::wstring>(2, L""));
}

TEST_F(BatchDrop, ADropThatHoldsNoPictureFailsWithNoEffectAndLeavesNothing)
{
    ResizeWorkspace workspace(L"Documents");
    ASSERT_TRUE(workspace.ready());
    const std::vector<std::wstring> documents = {workspace.picture(L"notes.txt"), workspace.picture(L"plan.doc")};
    for (const std::wstring& document : documents) ASSERT_TRUE(writeFileText(document, "not a picture\r\n"));
    const std::vector<std::wstring> before = workspace.entries();

    for (const std::vector<std::wstring>& files : {documents, std::vector<std::wstring>{}}) {
        SCOPED_TRACE(testing::Message() << files.size() << " files");
        ProgramWatch server(copy_);
        DWORD effect = DROPEFFECT_COPY;
        EXPECT_EQ(dropOnClass(registeredClass(), files, &effect), E_FAIL);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
        EXPECT_TRUE(server.waitForEnd(kServerTimeLimitMs)) << "the server did not end";
        EXPECT_TRUE(wroteNothing(workspace, before));
    }
}

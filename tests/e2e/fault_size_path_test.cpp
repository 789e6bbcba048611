#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/fault_checks.h"
#include "tests/e2e/pellavo_runner.h"
#include "tests/e2e/resize_workspace.h"
#include "tests/support/file_system.h"
#include "tests/support/picture_reader.h"
#include "tests/support/test_pictures.h"

namespace {

// The source picture, 400 x 300, asked for the largest size there is.
void checkLargestSize(const wchar_t* source, PictureFormat format)
{
    ResizeWorkspace workspace;
    ASSERT_TRUE(workspace.ready());
    ASSERT_TRUE(makePicture(workspace.picture(source), 400, 300, format, kFourColours));
    const FolderContent before = contentOf(workspace.pictures());

    EXPECT_TRUE(runsPellavo(L"-size 2147483647x2147483647 " + workspace.picture(source)));

    EXPECT_TRUE(noCrashHandlerRunning());
    EXPECT_TRUE(wroteNothing(workspace, {source}));
    EXPECT_TRUE(holdsAsBefore(workspace.pictures(), before));
}

}  // namespace

// 2147483647 x 1610612688 pixels: a bitmap that GDI+ would make from a size
// that overflowed, which the JPEG encoder and the GIF palette copy then read
// far outside of. No copy of that size is drawn; one picture of each kind.
TEST_F(ResizeCommand, WritesNothingForTheLargestSizeOfAPng)
{
    checkLargestSize(L"scan.png", PictureFormat::Png);
}

TEST_F(ResizeCommand, WritesNothingForTheLargestSizeOfAJpeg)
{
    checkLargestSize(L"photo.jpg", PictureFormat::Jpeg);
}

TEST_F(ResizeCommand, WritesNothingForTheLargestSizeOfAGif)
{
    checkLargestSize(L"logo.gif", PictureFormat::Gif);
}

TEST_F(ResizeCommand, WritesPastReadOnlyAttributes)
{
    // The read-only attribute guards a file, not the folder it stands in.
    struct ReadOnlyCase {
        const wchar_t* readOnly;  // relative to the pictures folder; "" is the folder
        const wchar_t* copy;
    };
    const ReadOnlyCase cases[] = {
        {L"", L"photo_800x600.jpg"},
        {L"photo.jpg", L"photo_800x600.jpg"},
        {L"photo_800x600.jpg", L"photo_800x600_1.jpg"},
    };
    for (const ReadOnlyCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "read-only \"" << c.readOnly << "\"");
        ResizeWorkspace workspace;
        ASSERT_TRUE(workspace.ready());
        const std::wstring source = workspace.picture(L"photo.jpg");
        ASSERT_TRUE(makePicture(source, 400, 300, PictureFormat::Jpeg, kFourColours));
        const std::wstring readOnly = *c.readOnly ? workspace.picture(c.readOnly) : workspace.pictures();
        if (!pathExists(readOnly)) {
            ASSERT_TRUE(writeFileBytes(readOnly, Bytes{'t', 'a', 'k', 'e', 'n'}));
        }
        const ScopedAttributes attributes(readOnly, FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(attributes.applied());
        const FolderContent before = contentOf(workspace.pictures());
        const std::vector<std::wstring> names = workspace.entries();

        EXPECT_TRUE(runsPellavo(L"-size 800x600 " + source));

        EXPECT_TRUE(noCrashHandlerRunning());
        EXPECT_TRUE(wroteAndOpened(workspace, names, c.copy));
        EXPECT_TRUE(holdsAsBefore(workspace.pictures(), before, {c.copy}));
    }
}

TEST_F(ResizeCommand, CountsPastAFolderAndAFileUnderTheFirstNames)
{
    ResizeWorkspace workspace;
    ASSERT_TRUE(workspace.ready());
    const std::wstring source = workspace.picture(L"photo.jpg");
    ASSERT_TRUE(makePicture(source, 400, 300, PictureFormat::Jpeg, kFourColours));
    ASSERT_TRUE(CreateDirectoryW(workspace.picture(L"photo_800x600.jpg").c_str(), nullptr));
    ASSERT_TRUE(writeFileBytes(workspace.picture(L"photo_800x600_1.jpg"), Bytes{'t', 'a', 'k', 'e', 'n'}));
    const FolderContent before = contentOf(workspace.pictures());

    EXPECT_TRUE(runsPellavo(L"-size 800x600 " + source));

    EXPECT_TRUE(noCrashHandlerRunning());
    EXPECT_TRUE(wroteAndOpened(workspace, {L"photo.jpg", L"photo_800x600.jpg", L"photo_800x600_1.jpg"},
                               L"photo_800x600_2.jpg"));
    EXPECT_TRUE(holdsAsBefore(workspace.pictures(), before, {L"photo_800x600_2.jpg"}));
}

TEST_F(ResizeCommand, ReadsNothingThroughAFileThatStandsForTheFolder)
{
    ResizeWorkspace workspace;
    ASSERT_TRUE(workspace.ready());
    // Real pictures, so that only their use as a folder is wrong.
    ASSERT_TRUE(makePicture(workspace.picture(L"album"), 400, 300, PictureFormat::Jpeg, kFourColours));
    ASSERT_TRUE(makePicture(workspace.picture(L"album.jpg"), 400, 300, PictureFormat::Jpeg, kFourColours));
    const FolderContent before = contentOf(workspace.pictures());

    for (const wchar_t* source : {L"album\\photo.jpg", L"album.jpg\\photo.jpg", L"album.jpg\\"}) {
        SCOPED_TRACE(testing::Message() << source);
        EXPECT_TRUE(runsPellavo(L"-size 800x600 " + workspace.picture(source)));

        EXPECT_TRUE(noCrashHandlerRunning());
        EXPECT_TRUE(wroteNothing(workspace, {L"album", L"album.jpg"}));
        EXPECT_TRUE(holdsAsBefore(workspace.pictures(), before));
    }
}

TEST_F(ResizeCommand, KeepsEverythingForASourcePathOfTheLongestLength)
{
    // A full path of 259 characters, the most that MAX_PATH holds; the
    // copy's name, 8 characters longer, is not.
    constexpr size_t kPathLength = 259;
    ResizeWorkspace workspace;
    ASSERT_TRUE(workspace.ready());
    const size_t folderLength = workspace.pictures().size() + 1;
    ASSERT_LT(folderLength + 12, kPathLength);
    const std::wstring stem(kPathLength - folderLength - 4, L'p');
    const std::wstring source = stem + L".jpg";
    ASSERT_EQ(workspace.picture(source).size(), kPathLength);
    ASSERT_TRUE(makePicture(workspace.picture(source), 400, 300, PictureFormat::Jpeg, kFourColours));
    const FolderContent before = contentOf(workspace.pictures());

    EXPECT_TRUE(runsPellavo(L"-size 800x600 " + workspace.picture(source)));

    EXPECT_TRUE(noCrashHandlerRunning());
    // Either no copy, or the whole copy, opened at most once.
    const std::wstring copy = stem + L"_800x600.jpg";
    const std::vector<std::wstring> opened = workspace.openedFiles();
    if (!pathExists(workspace.picture(copy))) {
        EXPECT_TRUE(holdsAsBefore(workspace.pictures(), before));
        EXPECT_TRUE(opened.empty());
        return;
    }
    EXPECT_TRUE(holdsAsBefore(workspace.pictures(), before, {copy}));
    const std::optional<DecodedPicture> picture = decodePicture(workspace.picture(copy));
    ASSERT_TRUE(picture) << "the copy does not decode";
    EXPECT_EQ(picture->width, 800);
    EXPECT_EQ(picture->height, 600);
    EXPECT_TRUE(opened.empty() || opened == std::vector<std::wstring>{workspace.picture(copy)});
}

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "tests/support/file_system.h"
#include "tests/e2e/pellavo_runner.h"
#include "tests/e2e/resize_workspace.h"
#include "tests/support/test_pictures.h"

namespace {

// What stands in the folder before the run: a file with bytes of its own or
// an empty folder, under a name the copy could take.
struct Taken {
    const wchar_t* name;
    bool isFolder;
};

struct CollisionCase {
    std::vector<Taken> taken;
    const wchar_t* copy;
};

const Bytes kTakenBytes = {'t', 'a', 'k', 'e', 'n'};

bool makeTaken(const ResizeWorkspace& workspace, const Taken& taken)
{
    const std::wstring path = workspace.picture(taken.name);
    if (taken.isFolder) return CreateDirectoryW(path.c_str(), nullptr) != 0;
    return writeFileBytes(path, kTakenBytes);
}

void expectTakenUnchanged(const ResizeWorkspace& workspace, const Taken& taken)
{
    const std::wstring path = workspace.picture(taken.name);
    if (taken.isFolder) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
        EXPECT_TRUE(folderEntries(path).empty()) << "something was written into the folder";
        return;
    }
    EXPECT_TRUE(readFileBytes(path) == kTakenBytes) << "an existing file changed";
}

}  // namespace

TEST_F(ResizeCommand, CountsOnWhileTheNameIsTakenAndNeverOverwrites)
{
    const std::vector<CollisionCase> cases = {
        {{}, L"photo_800x600.jpg"},
        {{{L"photo_800x600.jpg", false}}, L"photo_800x600_1.jpg"},
        {{{L"photo_800x600.jpg", false}, {L"photo_800x600_1.jpg", false}}, L"photo_800x600_2.jpg"},
        {{{L"photo_800x600.jpg", true}}, L"photo_800x600_1.jpg"},
        {{{L"photo_800x600.jpg", false}, {L"photo_800x600_1.jpg", true}, {L"photo_800x600_2.jpg", false}},
         L"photo_800x600_3.jpg"},
        {{{L"photo_800x600.jpg", false}, {L"photo_800x600_2.jpg", false}}, L"photo_800x600_1.jpg"},
        {{{L"photo_800x600_1.jpg", false}}, L"photo_800x600.jpg"},
        {{{L"PHOTO_800X600.JPG", false}}, L"photo_800x600_1.jpg"},
    };
    for (const CollisionCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "copy " << c.copy);
        ResizeWorkspace workspace;
        ASSERT_TRUE(workspace.ready());
        const std::wstring source = workspace.picture(L"photo.jpg");
        ASSERT_TRUE(makePicture(source, 400, 300, PictureFormat::Jpeg, kFourColours));
        std::vector<std::wstring> before = {L"photo.jpg"};
        for (const Taken& taken : c.taken) {
            ASSERT_TRUE(makeTaken(workspace, taken));
            before.emplace_back(taken.name);
        }
        const std::optional<Bytes> sourceBytes = readFileBytes(source);

        EXPECT_TRUE(runsPellavo(L"-size 800x600 " + source));

        EXPECT_TRUE(wroteAndOpened(workspace, before, c.copy));
        for (const Taken& taken : c.taken) expectTakenUnchanged(workspace, taken);
        EXPECT_TRUE(readFileBytes(source) == sourceBytes) << "the source changed";
    }
}

TEST_F(ResizeCommand, RunsAgainWriteNewCopiesAndOpenEachOnce)
{
    ResizeWorkspace workspace;
    ASSERT_TRUE(workspace.ready());
    const std::wstring source = workspace.picture(L"photo.png");
    ASSERT_TRUE(makePicture(source, 1920, 1080, PictureFormat::Png, kFourColours));
    const std::optional<Bytes> sourceBytes = readFileBytes(source);
    const std::vector<std::wstring> copies = {L"photo_800x450.png", L"photo_800x450_1.png", L"photo_800x450_2.png"};

    std::vector<std::optional<Bytes>> written;
    for (const std::wstring& copy : copies) {
        EXPECT_TRUE(runsPellavo(L"-size 800x600 " + source));
        written.push_back(readFileBytes(workspace.picture(copy)));
        EXPECT_TRUE(written.back()) << "no " << copy;
    }

    EXPECT_EQ(workspace.entries(), sortedNames({L"photo.png", copies[0], copies[1], copies[2]}));
    EXPECT_EQ(workspace.openedFiles(), (std::vector<std::wstring>{workspace.picture(copies[0]),
                                                                  workspace.picture(copies[1]),
                                                                  workspace.picture(copies[2])}));
    for (size_t i = 0; i < copies.size(); ++i)
        EXPECT_TRUE(readFileBytes(workspace.picture(copies[i])) == written[i]) << copies[i] << " changed later";
    EXPECT_TRUE(readFileBytes(source) == sourceBytes) << "the source changed";
}

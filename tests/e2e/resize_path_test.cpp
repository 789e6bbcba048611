#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/file_signature.h"
#include "tests/support/file_system.h"
#include "tests/support/picture_reader.h"
#include "tests/e2e/pellavo_runner.h"
#include "tests/e2e/resize_workspace.h"
#include "tests/support/test_pictures.h"

namespace {

struct PathCase {
    const wchar_t* folder;
    const wchar_t* source;
    const wchar_t* copy;
    // In one pair of double quotes, as a console or a script passes it.
    bool quoted = false;
    PictureFormat format = PictureFormat::Png;
};

// One case; a failed assertion ends only this case.
void checkPathCase(const PathCase& c)
{
    ResizeWorkspace workspace(c.folder);
    ASSERT_TRUE(workspace.ready());
    const std::wstring source = workspace.picture(c.source);
    ASSERT_TRUE(makePicture(source, 400, 300, c.format, kFourColours));

    EXPECT_TRUE(runsPellavo(L"-size 800x600 " + (c.quoted ? L"\"" + source + L"\"" : source)));

    EXPECT_TRUE(wroteAndOpened(workspace, {c.source}, c.copy));
    const std::optional<DecodedPicture> picture = decodePicture(workspace.picture(c.copy));
    ASSERT_TRUE(picture) << "the copy does not decode: " << fileSummary(workspace.picture(c.copy));
    EXPECT_EQ(picture->width, 800);
    EXPECT_EQ(picture->height, 600);
}

}  // namespace

TEST_F(ResizeCommand, TakesThePathWholeWithBlanksAndAnyLetters)
{
    const PathCase cases[] = {
        {L"My Pictures", L"a b.png", L"a b_800x600.png"},
        {L"pictures", L"two  blanks .jpg", L"two  blanks _800x600.jpg", false, PictureFormat::Jpeg},
        {L"Фотографии", L"пейзаж.jpg", L"пейзаж_800x600.jpg", false, PictureFormat::Jpeg},
        {L"Мои картинки", L"Снимок 1.JPG", L"Снимок 1_800x600.JPG", false, PictureFormat::Jpeg},
        {L"v1.2 final", L"photo.png", L"photo_800x600.png"},
        {L"My Pictures", L"a b.png", L"a b_800x600.png", true},
        {L"Мои картинки", L"Снимок 1.JPG", L"Снимок 1_800x600.JPG", true, PictureFormat::Jpeg},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.folder << "\\" << c.source << (c.quoted ? " in quotes" : ""));
        checkPathCase(c);
    }
}

TEST_F(ResizeCommand, WritesNothingForAPathThatDoesNotLoadOrSave)
{
    ResizeWorkspace workspace;
    ASSERT_TRUE(workspace.ready());
    const std::wstring source = workspace.picture(L"photo.jpg");
    ASSERT_TRUE(makePicture(source, 400, 300, PictureFormat::Jpeg, kFourColours));
    ASSERT_TRUE(writeFileBytes(workspace.picture(L"notes.jpg"), Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'}));
    const std::vector<std::wstring> before = workspace.entries();

    const std::wstring arguments[] = {
        L"-size 800x600 \"" + source,
        L"-size 800x600 " + source + L"\"",
        L"-size 800x600 \"\"" + source + L"\"\"",
        L"-size 800x600  " + source,
        L"-size 800x600 " + workspace.picture(L"missing.jpg"),
        L"-size 800x600 " + workspace.picture(L"notes.jpg"),
    };
    for (const std::wstring& argument : arguments) {
        SCOPED_TRACE(testing::Message() << argument);
        EXPECT_TRUE(runsPellavo(argument));
        EXPECT_TRUE(wroteNothing(workspace, before));
    }
}

TEST_F(ResizeCommand, NamesACopyOfAFileWithoutExtensionByItsKindBesideIt)
{
    // A "." in a folder's name is no extension: the copy goes beside the
    // picture, not beside the folder under a name cut from the folder's.
    ResizeWorkspace workspace;
    ASSERT_TRUE(workspace.ready());
    ASSERT_TRUE(CreateDirectoryW(workspace.picture(L"a.b").c_str(), nullptr));
    ASSERT_TRUE(makePicture(workspace.picture(L"a.b\\photo"), 400, 300, PictureFormat::Jpeg, kFourColours));

    EXPECT_TRUE(runsPellavo(L"-size 800x600 " + workspace.picture(L"a.b\\photo")));

    EXPECT_EQ(workspace.entries(), std::vector<std::wstring>{L"a.b"});
    EXPECT_EQ(folderEntries(workspace.picture(L"a.b")), (std::vector<std::wstring>{L"photo", L"photo_800x600.jpg"}));
    EXPECT_EQ(encodingOf(workspace.picture(L"a.b\\photo_800x600.jpg")), Encoding::Jpeg);
}

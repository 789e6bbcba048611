#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/exif_orientation.h"
#include "tests/support/file_signature.h"
#include "tests/support/file_system.h"
#include "tests/e2e/picture_expectations.h"
#include "tests/support/picture_reader.h"
#include "tests/e2e/pellavo_runner.h"
#include "tests/e2e/resize_workspace.h"
#include "tests/support/test_pictures.h"

namespace {

struct OrientationCase {
    unsigned short orientation;
    const wchar_t* copy;
    int copyWidth;
    int copyHeight;
    // The stored quadrants as the upright copy must show them.
    Quadrants upright;
};

// A photo stored landscape, 160 x 120, with its Orientation tag.
bool makeTaggedPhoto(const ResizeWorkspace& workspace, const std::wstring& path, unsigned short orientation)
{
    const std::wstring stored = workspace.picture(L"stored.jpg");
    if (!makePicture(stored, 160, 120, PictureFormat::Jpeg, kFourColours)) return false;
    const std::optional<Bytes> storedBytes = readFileBytes(stored);
    DeleteFileW(stored.c_str());
    return storedBytes && writeFileBytes(path, withExifOrientation(*storedBytes, orientation));
}

// One case; a failed assertion ends only this case.
void checkOrientationCase(const OrientationCase& c)
{
    ResizeWorkspace workspace;
    ASSERT_TRUE(workspace.ready());
    const std::wstring source = workspace.picture(L"photo.jpg");
    ASSERT_TRUE(makeTaggedPhoto(workspace, source, c.orientation));

    EXPECT_TRUE(runsPellavo(L"-size 800x600 " + source));

    EXPECT_TRUE(wroteAndOpened(workspace, {L"photo.jpg"}, c.copy));
    const std::optional<DecodedPicture> picture = decodePicture(workspace.picture(c.copy));
    ASSERT_TRUE(picture) << "the copy does not decode: " << fileSummary(workspace.picture(c.copy));
    EXPECT_EQ(picture->width, c.copyWidth);
    EXPECT_EQ(picture->height, c.copyHeight);
    EXPECT_TRUE(showsQuadrants(*picture, c.upright));
}

}  // namespace

TEST_F(ResizeCommand, TurnsAPhotoStoredSidewaysUpright)
{
    // 3 is upside down; 6 and 8 mean a portrait, 120 x 160 upright, turned
    // one way or the other, fitted and named by its upright size.
    const Quadrants& q = kFourColours;
    const OrientationCase cases[] = {
        {1, L"photo_800x600.jpg", 800, 600, q},
        {3, L"photo_800x600.jpg", 800, 600, {q.bottomRight, q.bottomLeft, q.topRight, q.topLeft}},
        {6, L"photo_450x600.jpg", 450, 600, {q.bottomLeft, q.topLeft, q.bottomRight, q.topRight}},
        {8, L"photo_450x600.jpg", 450, 600, {q.topRight, q.bottomRight, q.topLeft, q.bottomLeft}},
    };
    for (const OrientationCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "orientation " << c.orientation);
        checkOrientationCase(c);
    }
}

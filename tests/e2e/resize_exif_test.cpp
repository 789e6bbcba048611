#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>

#include "codecs/byte_source.h"
#include "codecs/jpeg_metadata.h"

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

namespace {

// What a photo from a phone carries: a colour profile in two chunks, Exif
// with its camera, date, place, pixel size and thumbnail, and XMP.
struct PhotoDetails {
    Bytes profile[2];
    ExifSegment exif;
    Bytes xmp;
};

PhotoDetails phoneDetails()
{
    PhotoDetails details;
    for (unsigned char chunk = 0; chunk < 2; ++chunk) {
        const std::string name("ICC_PROFILE\0", 12);
        details.profile[chunk].assign(name.begin(), name.end());
        details.profile[chunk].push_back(static_cast<unsigned char>(chunk + 1));
        details.profile[chunk].push_back(2);
        for (int i = 0; i < 300; ++i) details.profile[chunk].push_back(static_cast<unsigned char>(i * 7 + chunk));
    }
    // The profile's header says it describes colours, as a phone's does.
    std::copy_n("RGB ", 4, details.profile[0].begin() + 14 + 16);
    ExifContent content;
    content.orientation = 6;
    content.details = true;
    content.pixelSizeType = 4;
    content.pixelWidth = 160;
    content.pixelHeight = 120;
    content.thumbnail = true;
    details.exif = makeExifSegment(content);
    const std::string xmp = std::string("http://ns.adobe.com/xap/1.0/\0", 29) +
                            "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF><rdf:Description tiff:Orientation=\"6\"/>"
                            "</rdf:RDF></x:xmpmeta>";
    details.xmp.assign(xmp.begin(), xmp.end());
    return details;
}

uint32_t readNumber(const Bytes& bytes, size_t at, size_t count)
{
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i) value |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

}  // namespace

TEST_F(ResizeCommand, KeepsWhatThePhotoKnowsAboutItselfAndSaysTheCopyIsUpright)
{
    ResizeWorkspace workspace;
    ASSERT_TRUE(workspace.ready());
    const PhotoDetails details = phoneDetails();
    const std::wstring stored = workspace.picture(L"stored.jpg");
    ASSERT_TRUE(makePicture(stored, 160, 120, PictureFormat::Jpeg, kFourColours));
    const std::optional<Bytes> storedBytes = readFileBytes(stored);
    ASSERT_TRUE(storedBytes && DeleteFileW(stored.c_str()));
    Bytes segments = jpegSegment(0xE2, details.profile[0]);
    for (const Bytes& segment :
         {jpegSegment(0xE1, details.exif.data), jpegSegment(0xE2, details.profile[1]), jpegSegment(0xE1, details.xmp)})
        segments.insert(segments.end(), segment.begin(), segment.end());
    const std::wstring source = workspace.picture(L"photo.jpg");
    ASSERT_TRUE(writeFileBytes(source, withSegments(*storedBytes, segments)));

    EXPECT_TRUE(runsPellavo(L"-size 800x600 " + source));

    ASSERT_TRUE(wroteAndOpened(workspace, {L"photo.jpg"}, L"photo_450x600.jpg"));
    const std::optional<Bytes> copy = readFileBytes(workspace.picture(L"photo_450x600.jpg"));
    ASSERT_TRUE(copy);
    MemorySource bytes(copy->data(), copy->size());
    JpegSegments kept;
    ASSERT_TRUE(readHeadSegments(bytes, kept));
    ASSERT_EQ(kept.size(), 4u);
    EXPECT_EQ(kept[0].data, details.profile[0]);
    EXPECT_EQ(kept[2].data, details.profile[1]);
    EXPECT_EQ(orientationOfSegments(kept), 1);

    // Camera, date and place are the photo's; only the orientation, the
    // pixel size and the thumbnail's link say what the copy is.
    const Bytes& exif = kept[1].data;
    ASSERT_EQ(exif.size(), details.exif.data.size());
    Bytes expected = details.exif.data;
    const std::map<uint16_t, size_t>& fields = details.exif.valueFields;
    for (const auto& [at, count] : {std::pair<size_t, size_t>{fields.at(0x0112), 2}, {fields.at(0xA002), 4},
                                    {fields.at(0xA003), 4}, {details.exif.ifd1Link, 4}})
        std::copy(exif.begin() + at, exif.begin() + at + count, expected.begin() + at);
    EXPECT_EQ(exif, expected);
    EXPECT_EQ(readNumber(exif, fields.at(0x0112), 2), 1u);
    EXPECT_EQ(readNumber(exif, fields.at(0xA002), 4), 450u);
    EXPECT_EQ(readNumber(exif, fields.at(0xA003), 4), 600u);
    EXPECT_EQ(readNumber(exif, details.exif.ifd1Link, 4), 0u);

    const std::string xmp(kept[3].data.begin(), kept[3].data.end());
    EXPECT_NE(xmp.find("tiff:Orientation=\"1\""), std::string::npos) << xmp;
}

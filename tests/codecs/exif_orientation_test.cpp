#include <gtest/gtest.h>

#include <functional>

#include "codecs/exif_orientation.h"
#include "tests/support/exif_orientation.h"

namespace {

namespace at = exif_offsets;

// Start of image, then end of image: the least a JPEG holds.
const Bytes kBareJpeg = {0xFF, 0xD8, 0xFF, 0xD9};

int orientationOf(const Bytes& bytes)
{
    return exifOrientation(bytes.data(), bytes.size());
}

Bytes inserted(Bytes bytes, size_t at, const Bytes& more)
{
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), more.begin(), more.end());
    return bytes;
}

Bytes patched(Bytes bytes, size_t at, const Bytes& replacement)
{
    std::copy(replacement.begin(), replacement.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return bytes;
}

}  // namespace

TEST(ExifOrientation, ReadsTheTagInEitherByteOrder)
{
    for (unsigned short value = 1; value <= 8; ++value) {
        EXPECT_EQ(orientationOf(withExifOrientation(kBareJpeg, value)), value);
        EXPECT_EQ(orientationOf(withExifOrientation(kBareJpeg, value, true)), value);
    }
}

TEST(ExifOrientation, FindsTheSegmentPastOthersAndOnlyBeforeThePixels)
{
    const Bytes tagged = withExifOrientation(kBareJpeg, 6);
    const Bytes jfif = {0xFF, 0xE0, 0x00, 0x07, 'J', 'F', 'I', 'F', 0x00};
    const Bytes xmp = {0xFF, 0xE1, 0x00, 0x08, 'h', 't', 't', 'p', ':', '/'};
    const Bytes startOfScan = {0xFF, 0xDA, 0x00, 0x02};
    const struct {
        const char* what;
        Bytes bytes;
        int orientation;
    } rows[] = {
        {"after a JFIF segment", inserted(tagged, 2, jfif), 6},
        {"after an XMP segment, also APP1", inserted(tagged, 2, xmp), 6},
        {"after fill bytes and a restart marker", inserted(tagged, 2, {0xFF, 0xD0, 0xFF, 0xFF}), 6},
        {"after the start of scan", inserted(tagged, 2, startOfScan), 1},
        {"in no JPEG", patched(tagged, 1, {0xD9}), 1},
        {"in a JPEG without it", kBareJpeg, 1},
        {"in nothing", Bytes(), 1},
    };
    for (const auto& row : rows) EXPECT_EQ(orientationOf(row.bytes), row.orientation) << row.what;
}

TEST(ExifOrientation, ReadsNothingOutsideTheSegmentAndNoBadValue)
{
    const Bytes tagged = withExifOrientation(kBareJpeg, 6);
    const Bytes cutAfterSegment(tagged.begin(), tagged.begin() + at::kEnd);
    const struct {
        const char* what;
        Bytes bytes;
    } rows[] = {
        {"value 0", patched(tagged, at::kValue, {0, 0})},
        {"value 9", patched(tagged, at::kValue, {9, 0})},
        {"type LONG", patched(tagged, at::kType, {4, 0})},
        {"count 0", patched(tagged, at::kCount, {0, 0, 0, 0})},
        {"no Exif header", patched(tagged, at::kExifHeader, {'E', 'x', 'i', 'F'})},
        {"no byte order", patched(tagged, at::kByteOrder, {'I', 'M'})},
        {"no TIFF magic", patched(tagged, at::kMagic, {43, 0})},
        {"IFD0 past the segment", patched(tagged, at::kDirectoryOffset, {0xF0, 0xFF, 0, 0})},
        {"IFD0 on the last byte", patched(tagged, at::kDirectoryOffset, {25, 0, 0, 0})},
        {"entries past the segment", patched(patched(tagged, at::kTag, {0x10, 0x01}), at::kEntryCount, {0xFF, 0xFF})},
        {"segment longer than the bytes", Bytes(cutAfterSegment.begin(), cutAfterSegment.end() - 1)},
        {"segment length 1", patched(tagged, at::kSegmentLength, {0, 1})},
    };
    for (const auto& row : rows) EXPECT_EQ(orientationOf(row.bytes), 1) << row.what;
    EXPECT_EQ(orientationOf(cutAfterSegment), 6) << "the segment whole, nothing after it";
}

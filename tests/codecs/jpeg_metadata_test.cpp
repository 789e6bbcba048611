#include <gtest/gtest.h>

#include <string>

#include "codecs/byte_source.h"
#include "codecs/jpeg_metadata.h"
#include "codecs/profile_fit.h"
#include "tests/support/exif_orientation.h"

// Segments compare by their bytes.
static bool operator==(const JpegSegment& a, const JpegSegment& b)
{
    return a.marker == b.marker && a.data == b.data;
}

namespace {

constexpr uint8_t kApp1 = 0xE1;
constexpr uint8_t kApp2 = 0xE2;
// Start of image, then end of image: the least a JPEG holds.
const Bytes kBareJpeg = {0xFF, 0xD8, 0xFF, 0xD9};

Bytes named(const std::string& name, const std::string& rest)
{
    Bytes bytes(name.begin(), name.end());
    bytes.push_back(0);
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    return bytes;
}

Bytes iccChunk(int number, size_t bytes)
{
    return named("ICC_PROFILE", std::string{static_cast<char>(number), 3} + std::string(bytes, static_cast<char>(number)));
}

Bytes joined(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The segments as a file holds them.
Bytes segmentBytes(const JpegSegments& segments)
{
    Bytes all;
    for (const JpegSegment& segment : segments) all = joined({all, jpegSegment(segment.marker, segment.data)});
    return all;
}

Bytes patched(Bytes bytes, size_t at, const Bytes& replacement)
{
    std::copy(replacement.begin(), replacement.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return bytes;
}

Bytes exifData(unsigned short orientation, bool bigEndian = false)
{
    return makeExifSegment({orientation, bigEndian}).data;
}

// A photo's Exif: stored sideways, with its details and a thumbnail.
ExifSegment photoExif(bool bigEndian, uint16_t pixelSizeType)
{
    return makeExifSegment({6, bigEndian, true, pixelSizeType, 3000, 4000, true});
}

// Gives its bytes one at a time, as a slow file may.
class TricklingSource : public ByteSource {
public:
    explicit TricklingSource(const Bytes& bytes) : bytes_(bytes.data(), bytes.size()) {}
    size_t read(uint8_t* buffer, size_t count) override { return bytes_.read(buffer, count > 0 ? 1 : 0); }

private:
    MemorySource bytes_;
};

}  // namespace

TEST(JpegMetadata, ReadsTheOrientationOfTheFirstExifInEitherByteOrder)
{
    for (unsigned short value = 1; value <= 8; ++value) {
        for (bool bigEndian : {false, true})
            EXPECT_EQ(orientationOfSegments({{kApp1, exifData(value, bigEndian)}}), value) << value << bigEndian;
    }
    const JpegSegment xmp{kApp1, named("http://ns.adobe.com/xap/1.0/", "tiff:Orientation=\"8\"")};
    EXPECT_EQ(orientationOfSegments({xmp, {kApp1, exifData(6)}, {kApp1, exifData(3)}}), 6);

    const Bytes tagged = exifData(6);
    const size_t value = makeExifSegment({6}).valueFields.at(0x0112);
    const struct {
        const char* what;
        JpegSegments segments;
    } none[] = {
        {"no segments", {}},
        {"Exif in an APP2", {{kApp2, tagged}}},
        {"value 0", {{kApp1, patched(tagged, value, {0, 0})}}},
        {"value 9", {{kApp1, patched(tagged, value, {9, 0})}}},
        {"type LONG", {{kApp1, patched(tagged, value - 6, {4, 0})}}},
        {"count 8, so the field is an offset", {{kApp1, patched(tagged, value - 4, {8, 0, 0, 0})}}},
        {"entries past the segment", {{kApp1, patched(patched(tagged, value - 8, {0x10, 0x01}), kIfd0, {0xFF, 0xFF})}}},
        {"the entry cut short", {{kApp1, Bytes(tagged.begin(), tagged.begin() + static_cast<std::ptrdiff_t>(value) + 1)}}},
    };
    for (const auto& row : none) EXPECT_EQ(orientationOfSegments(row.segments), 1) << row.what;
}

TEST(JpegMetadata, WalksTheHeadToTheFirstScanKeepingApp1AndApp2)
{
    const JpegSegment exif{kApp1, exifData(6)};
    const Bytes exifBytes = segmentBytes({exif});
    const Bytes jfif = jpegSegment(0xE0, named("JFIF", "\1\1"));
    const Bytes quantisation = jpegSegment(0xDB, Bytes(65, 1));
    const Bytes startOfScan = jpegSegment(0xDA, {1, 1, 0, 0, 63, 0});
    // Three profile chunks put the Exif segment past the first 128 KiB.
    JpegSegments profile;
    for (int i = 1; i <= 3; ++i) profile.push_back({kApp2, iccChunk(i, 60000)});
    JpegSegments profileAndExif = profile;
    profileAndExif.push_back(exif);
    const Bytes profiled = withSegments(kBareJpeg, segmentBytes(profileAndExif));
    const JpegSegments most(300, JpegSegment{kApp2, {}});
    const struct {
        const char* what;
        Bytes file;
        bool jpeg;
        JpegSegments segments;
    } rows[] = {
        {"after JFIF and a table", withSegments(kBareJpeg, joined({jfif, quantisation, exifBytes})), true, {exif}},
        {"behind a profile past 128 KiB", profiled, true, profileAndExif},
        {"after a restart marker, stray and fill bytes",
         withSegments(kBareJpeg, joined({{0xFF, 0xD0, 0x12, 0x34, 0xFF, 0xFF}, exifBytes})), true, {exif}},
        {"after the start of scan", withSegments(kBareJpeg, joined({startOfScan, exifBytes})), true, {}},
        {"after the end of image", joined({kBareJpeg, exifBytes}), true, {}},
        {"cut short", Bytes(profiled.begin(), profiled.end() - 3), true, profile},
        {"cut short in its length", {0xFF, 0xD8, 0xFF, 0xE1, 0x00}, true, {}},
        {"past the most kept", withSegments(kBareJpeg, segmentBytes(JpegSegments(301, JpegSegment{kApp2, {}}))), true, most},
        {"in no JPEG", patched(withSegments(kBareJpeg, exifBytes), 1, {0xD9}), false, {}},
        {"in nothing", {}, false, {}},
    };
    for (const auto& row : rows) {
        MemorySource memory(row.file.data(), row.file.size());
        TricklingSource trickling(row.file);
        for (ByteSource* source : {static_cast<ByteSource*>(&memory), static_cast<ByteSource*>(&trickling)}) {
            JpegSegments segments = {exif};
            EXPECT_EQ(readHeadSegments(*source, segments), row.jpeg) << row.what;
            EXPECT_TRUE(segments == row.segments) << row.what << ": " << segments.size() << " segments";
        }
    }
}

TEST(JpegMetadata, CopyKeepsTheProfileExifAndXmpInTheirOrder)
{
    const JpegSegment firstChunk{kApp2, iccChunk(1, 300)};
    const JpegSegment secondChunk{kApp2, iccChunk(2, 200)};
    const JpegSegment exif{kApp1, photoExif(false, 0).data};
    const JpegSegment xmp{kApp1, named("http://ns.adobe.com/xap/1.0/", "<x:xmpmeta tiff:Orientation=\"6\"/>")};
    const JpegSegment extension{kApp1, named("http://ns.adobe.com/xmp/extension/", "tiff:Orientation=\"6\"")};
    const JpegSegment pictures{kApp2, named("MPF", "MM")};
    const JpegSegment other{kApp1, named("FLIR", "")};
    const JpegSegments source = {firstChunk, other, exif, pictures, xmp, extension, secondChunk, {kApp1, {'E', 'x'}}};
    const JpegSegments kept = {firstChunk, exif, xmp, extension, secondChunk};
    EXPECT_TRUE(segmentsForCopy(source, false, {800, 600}) == kept);
    const JpegSegments turned = segmentsForCopy(source, true, {800, 600});
    ASSERT_EQ(turned.size(), kept.size());
    for (size_t i : {0, 3, 4}) EXPECT_TRUE(turned[i] == kept[i]) << "segment " << i << " is copied as it is";
    EXPECT_EQ(orientationOfSegments(turned), 1);
}

TEST(JpegMetadata, CopyExifTellsTheCopysSizeAndTurn)
{
    for (bool bigEndian : {false, true}) {
        for (uint16_t type : {3, 4}) {
            const ExifSegment exif = photoExif(bigEndian, type);
            const size_t bytes = type == 3 ? 2 : 4;
            auto withSize = [&](uint32_t width, uint32_t height) {
                return patched(patched(exif.data, exif.valueFields.at(0xA002), exifNumber(width, bytes, bigEndian)),
                               exif.valueFields.at(0xA003), exifNumber(height, bytes, bigEndian));
            };
            const Bytes upright = patched(patched(withSize(600, 800), exif.valueFields.at(0x0112), exifNumber(1, 2, bigEndian)),
                                          exif.ifd1Link, {0, 0, 0, 0});
            const struct {
                bool turned;
                ImageSize size;
                Bytes data;
            } rows[] = {
                {false, {1500, 2000}, withSize(1500, 2000)},
                {true, {600, 800}, upright},
                {false, {70000, 1}, withSize(type == 3 ? 65535 : 70000, 1)},
            };
            for (const auto& row : rows) {
                const JpegSegments copy = segmentsForCopy({{kApp1, exif.data}}, row.turned, row.size);
                ASSERT_EQ(copy.size(), 1u);
                EXPECT_TRUE(copy[0].data == row.data) << bigEndian << " " << type << " " << row.size.width;
            }
        }
    }
}

TEST(JpegMetadata, CopyLeavesOutExifItCannotWalkWhole)
{
    for (bool bigEndian : {false, true}) {
        const ExifSegment exif = photoExif(bigEndian, 4);
        const Bytes& whole = exif.data;
        auto withNumber = [&](size_t at, uint32_t value, size_t bytes = 4) {
            return patched(whole, at, exifNumber(value, bytes, bigEndian));
        };
        const uint32_t end = static_cast<uint32_t>(whole.size() - kTiffStart);
        const size_t exifPointer = exif.valueFields.at(0x8769);
        const struct {
            const char* what;
            Bytes data;
        } rows[] = {
            {"no TIFF header", patched(whole, kTiffStart, {'I', 'M'})},
            {"IFD0 past the end", withNumber(kTiffStart + 4, end)},
            {"IFD0's entries past the end", withNumber(kIfd0, 0xFFFF, 2)},
            {"the Exif directory past the end", withNumber(exifPointer, end - 4)},
            {"the Exif directory pointer a SHORT", withNumber(exifPointer - 6, 3, 2)},
            {"the Exif directory on IFD0", withNumber(exifPointer, kIfd0 - kTiffStart)},
            {"the GPS directory past the end", withNumber(exif.valueFields.at(0x8825), 0xFFFFFFF0)},
            {"IFD1 past the end", withNumber(exif.ifd1Link, end)},
            {"IFD1 on the header", withNumber(exif.ifd1Link, 2)},
            {"the model past the end", withNumber(exif.valueFields.at(0x0110), end - 11)},
            {"the date's count past the end", withNumber(exif.valueFields.at(0x9003) - 4, 0x7FFFFFFF)},
            {"the latitude cut off", Bytes(whole.begin(), whole.end() - 5)},
        };
        for (const auto& row : rows) {
            for (bool turned : {false, true})
                EXPECT_TRUE(segmentsForCopy({{kApp1, row.data}}, turned, {1, 1}).empty()) << row.what << bigEndian;
        }
        EXPECT_EQ(segmentsForCopy({{kApp1, whole}}, true, {1, 1}).size(), 1u);

        // The orientation is the first Exif's, so a later one, which would
        // speak of pixels the copy did not turn, never stands in for it.
        const Bytes unwalkable = patched(whole, kTiffStart, {'I', 'M'});
        EXPECT_EQ(orientationOfSegments({{kApp1, unwalkable}, {kApp1, whole}}), 1);
        EXPECT_TRUE(segmentsForCopy({{kApp1, unwalkable}, {kApp1, whole}}, false, {1, 1}).empty()) << bigEndian;
        EXPECT_EQ(segmentsForCopy({{kApp1, whole}, {kApp1, whole}}, true, {1, 1}).size(), 1u) << bigEndian;
    }
}

TEST(JpegMetadata, CopyXmpSaysUprightOnlyWhenTurned)
{
    const struct {
        const char* packet;
        const char* upright = nullptr;  // the packet as it is
    } rows[] = {
        {"<rdf:Description tiff:Orientation=\"6\" tiff:Make=\"6\"/>", "<rdf:Description tiff:Orientation=\"1\" tiff:Make=\"6\"/>"},
        {"<d\ttiff:Orientation = '8'/>", "<d\ttiff:Orientation = '1'/>"},
        {"<tiff:Orientation>6</tiff:Orientation>", "<tiff:Orientation>1</tiff:Orientation>"},
        {"<tiff:Orientation>\n 3 </tiff:Orientation>", "<tiff:Orientation>\n 1 </tiff:Orientation>"},
        {"<a tiff:Orientation=\"5\"/><tiff:Orientation>7</tiff:Orientation>",
         "<a tiff:Orientation=\"1\"/><tiff:Orientation>1</tiff:Orientation>"},
        {"<a tiff:Orientation=\"10\"/>"},
        {"<a tiff:Orientation=\"9\"/>"},
        {"<a tiff:Orientation=\"6'/>"},
        {"<a xtiff:Orientation=\"6\"/>"},
        {"<tiff:Orientation>6<tiff:Orientation>"},
        {"<a tiff:Orientation=\"6"},
    };
    const std::string name = "http://ns.adobe.com/xap/1.0/";
    for (const auto& row : rows) {
        const JpegSegments source = {{kApp1, named(name, row.packet)}};
        EXPECT_TRUE(segmentsForCopy(source, false, {1, 1}) == source) << row.packet;
        const JpegSegments turned = segmentsForCopy(source, true, {1, 1});
        ASSERT_EQ(turned.size(), 1u);
        EXPECT_EQ(std::string(turned[0].data.begin() + name.size() + 1, turned[0].data.end()),
                  row.upright ? row.upright : row.packet);
    }
}

TEST(JpegMetadata, ACopyKeepsAProfileOnlyWhereItDescribesTheCopysPixels)
{
    // A profile's header names its colour space at bytes 16 to 19.
    const auto profileOf = [](const char* space) {
        Bytes profile(132, 0);
        std::copy_n(space, 4, profile.begin() + 16);
        return profile;
    };
    const struct {
        PictureKind kind;
        int32_t pixelChannels;
        const char* space;
        bool kept;
    } rows[] = {
        {PictureKind::Jpeg, 3, "RGB ", true},
        {PictureKind::Png, 4, "RGB ", true},
        {PictureKind::Jpeg, 1, "GRAY", true},
        {PictureKind::Png, 1, "GRAY", true},
        {PictureKind::Tiff, 1, "GRAY", true},
        // Grey written as colour, and a grey picture under a colour profile.
        {PictureKind::WebP, 1, "GRAY", false},
        {PictureKind::Bmp, 1, "GRAY", false},
        {PictureKind::Gif, 1, "GRAY", false},
        {PictureKind::Png, 3, "GRAY", false},
        {PictureKind::Png, 1, "RGB ", false},
        // Inks turned into colours, and spaces no copy is in.
        {PictureKind::Jpeg, 3, "CMYK", false},
        {PictureKind::Jpeg, 3, "Lab ", false},
        {PictureKind::Jpeg, 3, "", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(row.kind) << " " << row.pixelChannels << " '" << row.space << "'");
        PictureMetadata source;
        if (*row.space) source.colourProfile = profileOf(row.space);
        // A JPEG source carries it in chunks besides.
        source.jpegSegments = segmentsOfMetadata(source);
        source.jpegSegments.push_back({kApp1, photoExif(false, 0).data});
        const PictureMetadata copy = metadataForCopy(source, false, {80, 60}, copyChannels(row.kind, row.pixelChannels));
        EXPECT_EQ(copy.colourProfile.empty(), !row.kept);
        EXPECT_EQ(metadataOfSegments(copy.jpegSegments).colourProfile.empty(), !row.kept);
        EXPECT_EQ(copy.jpegSegments.size(), row.kept ? 2u : 1u) << "the Exif stays either way";
    }
}

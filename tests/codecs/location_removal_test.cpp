#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "codecs/exif_tags.h"
#include "codecs/location_removal.h"
#include "codecs/tiff_block.h"
#include "tests/support/exif_orientation.h"

namespace {

constexpr uint8_t kApp1 = 0xE1;
const std::string kXmpName("http://ns.adobe.com/xap/1.0/\0", 29);

Bytes bytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

Bytes joined(std::initializer_list<Bytes> pieces)
{
    Bytes all;
    for (const Bytes& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
    return all;
}

bool contains(const Bytes& bytes, const Bytes& part)
{
    return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

void patch(ExifSegment& segment, size_t at, const Bytes& replacement)
{
    std::copy(replacement.begin(), replacement.end(), segment.data.begin() + static_cast<std::ptrdiff_t>(at));
}

Bytes valueField(const ExifSegment& segment, uint16_t tag)
{
    const auto at = segment.data.begin() + static_cast<std::ptrdiff_t>(segment.valueFields.at(tag));
    return Bytes(at, at + 4);
}

// What makeExifSegment writes as the latitude, in either byte order.
Bytes latitude(bool bigEndian)
{
    Bytes all;
    for (uint32_t part : {48u, 1u, 51u, 1u, 30u, 1u}) all = joined({all, exifNumber(part, 4, bigEndian)});
    return all;
}

ExifSegment photo(bool bigEndian)
{
    return makeExifSegment({6, bigEndian, true, kTiffLong, 3000, 4000, true});
}

// The photo with its thumbnail (the last four bytes) swapped for another.
ExifSegment withThumbnail(ExifSegment segment, bool bigEndian, const Bytes& thumbnail)
{
    segment.data.resize(segment.data.size() - 4);
    segment.data = joined({segment.data, thumbnail});
    patch(segment, segment.valueFields.at(0x0202), exifNumber(static_cast<uint32_t>(thumbnail.size()), 4, bigEndian));
    return segment;
}

// A camera's thumbnail: a JPEG head with a segment, which is Exif of its own,
// GPS and all, before the thumbnail's location is left out.
Bytes cameraThumbnail(uint8_t marker, const Bytes& data)
{
    return joined({{0xFF, 0xD8},
                   jpegSegment(0xE0, bytesOf(std::string("JFIF\0\1\1", 7))),
                   {0xFF},
                   jpegSegment(marker, data),
                   jpegSegment(0xDA, {1, 1, 0, 0, 63, 0}),
                   {0x12, 0x34, 0xFF, 0xD9}});
}
const Bytes kThumbnailExif = makeExifSegment({1, true, true}).data;
const Bytes kBareThumbnail = {0xFF, 0xD8, 0xFF, 0xD9};

// Every tag of IFD0, the Exif directory and IFD1 but the GPS links, with its
// type, count and value wherever that lies.
std::map<std::pair<size_t, uint16_t>, Bytes> tagsBesideGps(const Bytes& tiff)
{
    static const uint8_t kSizes[] = {0, 1, 1, 2, 4, 8};
    TiffBlock block(tiff.data(), tiff.size());
    std::map<std::pair<size_t, uint16_t>, Bytes> tags;
    if (!block.readHeader()) return tags;
    const size_t ifd0 = block.firstDirectory();
    TiffEntry exif;
    size_t directories[] = {ifd0, block.findEntry(ifd0, kExifDirectoryTag, exif) ? block.pointedDirectory(exif) : 0,
                            block.read32(block.nextLinkField(ifd0))};
    for (size_t d = 0; d < 3; ++d) {
        for (size_t i = 0; directories[d] != 0 && i < block.read16(directories[d]); ++i) {
            const size_t at = directories[d] + 2 + 12 * i;
            const uint16_t tag = block.read16(at);
            const uint16_t type = block.read16(at + 2);
            const size_t bytes = block.read32(at + 4) * (type < sizeof kSizes ? kSizes[type] : 0);
            const size_t value = bytes <= 4 ? at + 8 : block.read32(at + 8);
            if (tag == kGpsDirectoryTag) continue;
            tags[{d, tag}] = joined({Bytes(tiff.begin() + at + 2, tiff.begin() + at + 8),
                                     Bytes(tiff.begin() + value, tiff.begin() + value + bytes)});
        }
    }
    return tags;
}

bool linksGps(const Bytes& tiff)
{
    TiffBlock block(tiff.data(), tiff.size());
    TiffEntry entry;
    const size_t ifd1 = block.readHeader() ? block.read32(block.nextLinkField(block.firstDirectory())) : 0;
    return block.findEntry(block.firstDirectory(), kGpsDirectoryTag, entry) ||
           (ifd1 != 0 && block.findEntry(ifd1, kGpsDirectoryTag, entry));
}

// The thumbnail IFD1 points at; empty when it points at none.
Bytes thumbnailOf(const Bytes& tiff)
{
    TiffBlock block(tiff.data(), tiff.size());
    TiffEntry offset;
    TiffEntry length;
    const size_t ifd1 = block.readHeader() ? block.read32(block.nextLinkField(block.firstDirectory())) : 0;
    if (ifd1 == 0 || !block.findEntry(ifd1, 0x0201, offset) || !block.findEntry(ifd1, 0x0202, length)) return {};
    const auto begin = tiff.begin() + block.read32(offset.valueField);
    return Bytes(begin, begin + block.read32(length.valueField));
}

// The metadata of a JPEG with the Exif segment, in both the forms it takes.
PictureMetadata exifMetadata(const Bytes& segmentData)
{
    PictureMetadata metadata;
    metadata.exif.assign(segmentData.begin() + kTiffStart, segmentData.end());
    metadata.jpegSegments = {{kApp1, segmentData}};
    return metadata;
}

std::string xmpPacket(const std::string& description)
{
    return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">"
           "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n" +
           description + "\n</rdf:RDF></x:xmpmeta>\n<?xpacket end=\"w\"?>";
}

const std::string kNamespaces =
    " xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" xmlns:tiff=\"http://ns.adobe.com/tiff/1.0/\""
    " xmlns:photoshop=\"http://ns.adobe.com/photoshop/1.0/\" "
    "xmlns:Iptc4xmpCore=\"http://iptc.org/std/Iptc4xmpCore/1.0/xmlns/\""
    " xmlns:Iptc4xmpExt=\"http://iptc.org/std/Iptc4xmpExt/2008-02-29/\"";

}  // namespace

TEST(LocationRemoval, ExifLosesTheGpsDirectoryEverywhereAndKeepsEveryOtherTag)
{
    // IFD1's link to the thumbnail made a second link to the GPS directory.
    ExifSegment twoLinks = photo(false);
    patch(twoLinks, twoLinks.valueFields.at(0x0201) - 8,
          joined({{0x25, 0x88, 4, 0, 1, 0, 0, 0}, valueField(twoLinks, kGpsDirectoryTag)}));
    const struct {
        const char* what;
        ExifSegment segment;
        Bytes thumbnail;
    } rows[] = {
        {"Intel order", photo(false), kBareThumbnail},
        {"Motorola order", photo(true), kBareThumbnail},
        {"a thumbnail with Exif of its own", withThumbnail(photo(false), false, cameraThumbnail(kApp1, kThumbnailExif)),
         cameraThumbnail(0xFE, Bytes(kThumbnailExif.size()))},
        {"IFD1 linking the GPS directory too", twoLinks, {}},
    };
    for (const auto& row : rows) {
        const Bytes source(row.segment.data.begin() + kTiffStart, row.segment.data.end());
        PictureMetadata metadata = exifMetadata(row.segment.data);
        keepOnly(KeptDetails::AllButLocation, metadata);
        const Bytes& tiff = metadata.exif;
        ASSERT_EQ(metadata.jpegSegments.size(), 1u) << row.what;
        EXPECT_EQ(metadata.jpegSegments[0].data,
                  joined({Bytes(row.segment.data.begin(), row.segment.data.begin() + kTiffStart), tiff}))
            << row.what;
        EXPECT_EQ(tiff.size(), source.size()) << row.what;
        EXPECT_FALSE(linksGps(tiff)) << row.what;
        EXPECT_FALSE(contains(tiff, latitude(false)) || contains(tiff, latitude(true))) << row.what;
        EXPECT_EQ(tagsBesideGps(tiff), tagsBesideGps(source)) << row.what;
        EXPECT_EQ(thumbnailOf(tiff), row.thumbnail) << row.what;
        PictureMetadata again = metadata;
        keepOnly(KeptDetails::AllButLocation, again);
        EXPECT_EQ(again.exif, tiff) << row.what << ": a second pass";
    }
}

TEST(LocationRemoval, ExifWithoutLocationStaysAndExifThatCannotBeWalkedGoes)
{
    const auto broken = [](bool bigEndian, uint16_t tag, int fieldAt, const Bytes& bytes) {
        ExifSegment segment = photo(bigEndian);
        patch(segment, segment.valueFields.at(tag) + static_cast<size_t>(fieldAt), bytes);
        return segment.data;
    };
    const Bytes full = photo(true).data;
    ExifSegment looping = photo(false);
    patch(looping, looping.ifd1Link, exifNumber(8, 4, false));
    const struct {
        const char* what;
        Bytes segment;
        bool kept;
    } rows[] = {
        {"only an orientation", makeExifSegment({6}).data, true},
        {"a thumbnail but no GPS", makeExifSegment({3, true, false, kTiffShort, 640, 480, true}).data, true},
        {"no TIFF header", bytesOf(std::string("Exif\0\0MX\0\x2A\0\0\0\x08", 14)), false},
        {"cut inside the latitude", Bytes(full.begin(), full.end() - 14), false},
        {"IFD1 that is IFD0", looping.data, false},
        {"a GPS link past the end", broken(false, kGpsDirectoryTag, 0, {0, 0xFF, 0xFF, 0}), false},
        {"the latitude inside IFD0", broken(true, 0x0002, 0, exifNumber(10, 4, true)), false},
        {"the latitude inside the Exif directory",
         broken(false, 0x0002, 0, valueField(photo(false), kExifDirectoryTag)), false},
        {"a GPS value of unknown size", broken(false, 0x0002, -6, {99, 0}), false},
        {"a thumbnail that is no JPEG", withThumbnail(photo(false), false, bytesOf("JFIF")).data, false},
        {"a thumbnail's APP1 past its end", withThumbnail(photo(true), true, {0xFF, 0xD8, 0xFF, 0xE1, 0, 9, 1}).data,
         false},
    };
    for (const auto& row : rows) {
        PictureMetadata metadata = exifMetadata(row.segment);
        keepOnly(KeptDetails::AllButLocation, metadata);
        EXPECT_EQ(metadata.exif, row.kept ? Bytes(row.segment.begin() + kTiffStart, row.segment.end()) : Bytes{})
            << row.what;
        EXPECT_EQ(metadata.jpegSegments.size(), row.kept ? 1u : 0u) << row.what;
    }
}

TEST(LocationRemoval, XmpLosesItsLocationPropertiesUnderAnyPrefix)
{
    const std::string description = "<rdf:Description rdf:about=\"\"" + kNamespaces;
    const std::string otherPrefixes =
        "<rdf:Description xmlns:exif=\"http://example.com/camera/\""
        " xmlns:e='http://ns.adobe.com/exif/1.0/' xmlns=\"http://ns.adobe.com/exif/1.0/\"";
    const std::string none = description +
                             " tiff:Orientation=\"6\"><!-- <exif:GPSLatitude> --><dc:title>"
                             "<![CDATA[<a>]]></dc:title></rdf:Description>";
    const struct {
        const char* what;
        std::string packet;
        std::string kept;  // empty when the packet goes whole
    } rows[] = {
        {"as attributes",
         xmpPacket(description +
                   " exif:GPSLatitude=\"48,51.5N\" tiff:Make=\"Canon\" exif:GPSLongitude='2,21.0E'\n"
                   "  photoshop:City=\"Paris\" exif:DateTimeOriginal=\"2024-05-01T12:30:00\""
                   " photoshop:Country=\"France\" Iptc4xmpCore:CountryCode=\"FR\" photoshop:Headline=\"Spring\"/>"),
         xmpPacket(description + " tiff:Make=\"Canon\" exif:DateTimeOriginal=\"2024-05-01T12:30:00\""
                                 " photoshop:Headline=\"Spring\"/>")},
        {"as elements",
         xmpPacket(description + ">\n  <exif:GPSLatitude>48,51.5N</exif:GPSLatitude>\n  <tiff:Model>EOS</tiff:Model>\n"
                                 "  <photoshop:State >Ile-de-France</photoshop:State >\n  <photoshop:City/>\n"
                                 "  <Iptc4xmpCore:Location xml:lang='fr'>Louvre</Iptc4xmpCore:Location>\n"
                                 "  <exif:ExposureTime>1/200</exif:ExposureTime>\n</rdf:Description>"),
         xmpPacket(
             description +
             ">\n  <tiff:Model>EOS</tiff:Model>\n  <exif:ExposureTime>1/200</exif:ExposureTime>\n</rdf:Description>")},
        {"as structures, one inside another of its name",
         xmpPacket(description + ">\n  <Iptc4xmpExt:LocationShown><rdf:Bag><rdf:li rdf:parseType=\"Resource\">"
                                 "<Iptc4xmpExt:City>Paris</Iptc4xmpExt:City><Iptc4xmpExt:LocationShown><rdf:Seq>"
                                 "<rdf:li>Louvre</rdf:li></rdf:Seq></Iptc4xmpExt:LocationShown></rdf:li></rdf:Bag>"
                                 "</Iptc4xmpExt:LocationShown>\n  <Iptc4xmpExt:PersonInImage><rdf:Bag><rdf:li>Ann"
                                 "</rdf:li></rdf:Bag></Iptc4xmpExt:PersonInImage><Iptc4xmpExt:LocationCreated"
                                 " Iptc4xmpExt:City=\"Paris\"/>\n</rdf:Description>"),
         xmpPacket(description + ">\n  <Iptc4xmpExt:PersonInImage><rdf:Bag><rdf:li>Ann</rdf:li></rdf:Bag>"
                                 "</Iptc4xmpExt:PersonInImage>\n</rdf:Description>")},
        {"under other prefixes and the default namespace",
         xmpPacket(otherPrefixes +
                   " e:GPSAltitude=\"35/1\" exif:GPSNote=\"kept\" GPSNote=\"kept\">"
                   "<e:GPSTimeStamp>12:30</e:GPSTimeStamp><GPSSpeed>3</GPSSpeed><e:FNumber>4</e:FNumber>"
                   "</rdf:Description>"),
         xmpPacket(otherPrefixes +
                   " exif:GPSNote=\"kept\" GPSNote=\"kept\"><e:FNumber>4</e:FNumber></rdf:Description>")},
        {"under the usual prefix left undeclared",
         xmpPacket("<rdf:Description exif:GPSLatitude=\"48\" exif:Flash=\"0\"/>"),
         xmpPacket("<rdf:Description exif:Flash=\"0\"/>")},
        {"with none, but in a comment", xmpPacket(none), xmpPacket(none)},
        {"an element closed by another's name",
         xmpPacket(description + "><exif:GPSLatitude>48</exif:GPSLongitude></rdf:Description>"), ""},
        {"an element left open", description + "><exif:GPSLatitude>48</exif:GPSLatitude>", ""},
        {"an element closed twice", xmpPacket(description + "/></rdf:Description>"), ""},
        {"a tag left open", xmpPacket(description + "/><exif:GPSLatitude"), ""},
        {"a quote left open", xmpPacket(description + " exif:GPSLatitude=\"48/>"), ""},
        {"a document type", "<!DOCTYPE x [<!ENTITY l \"48\">]>" + xmpPacket(description + "/>"), ""},
        {"UTF-16", std::string("<\0x\0/\0>\0", 8), ""},
    };
    for (const auto& row : rows) {
        PictureMetadata metadata;
        metadata.xmp = bytesOf(row.packet);
        metadata.jpegSegments = {{kApp1, bytesOf(kXmpName + row.packet)}};
        keepOnly(KeptDetails::AllButLocation, metadata);
        EXPECT_EQ(std::string(metadata.xmp.begin(), metadata.xmp.end()), row.kept) << row.what;
        ASSERT_EQ(metadata.jpegSegments.size(), row.kept.empty() ? 0u : 1u) << row.what;
        if (!row.kept.empty()) {
            EXPECT_EQ(metadata.jpegSegments[0].data, bytesOf(kXmpName + row.kept)) << row.what;
        }
    }
}

TEST(LocationRemoval, EachPresetKeepsItsKindsOfSegment)
{
    const Bytes exif = photo(false).data;
    const std::string xmp =
        xmpPacket("<rdf:Description xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" exif:GPSSpeed=\"1\"/>");
    const JpegSegments source = {{0xE2, bytesOf(std::string("ICC_PROFILE\0\1\1icc", 17))},
                                 {kApp1, exif},
                                 {kApp1, bytesOf(kXmpName + xmp)},
                                 {kApp1, bytesOf(std::string("http://ns.adobe.com/xmp/extension/\0GUID", 39))},
                                 {0xE2, bytesOf("FPXR")}};
    const struct {
        KeptDetails kept;
        std::string segments;  // each kept one's start, in their order
        bool exifAndXmp;
    } rows[] = {
        {KeptDetails::All, "ICC_ Exif http http FPXR", true},
        {KeptDetails::AllButLocation, "ICC_ Exif http", true},
        {KeptDetails::ColourProfileOnly, "ICC_", false},
    };
    for (const auto& row : rows) {
        PictureMetadata metadata;
        metadata.colourProfile = {'i', 'c', 'c'};
        metadata.exif.assign(exif.begin() + kTiffStart, exif.end());
        metadata.xmp = bytesOf(xmp);
        metadata.jpegSegments = source;
        keepOnly(row.kept, metadata);
        std::string starts;
        for (const JpegSegment& segment : metadata.jpegSegments)
            starts += (starts.empty() ? "" : " ") + std::string(segment.data.begin(), segment.data.begin() + 4);
        EXPECT_EQ(starts, row.segments) << static_cast<int>(row.kept);
        EXPECT_EQ(metadata.colourProfile, Bytes({'i', 'c', 'c'})) << static_cast<int>(row.kept);
        EXPECT_EQ(metadata.exif.empty() && metadata.xmp.empty(), !row.exifAndXmp) << static_cast<int>(row.kept);
        const bool changed = metadata.exif.size() != exif.size() - kTiffStart || metadata.xmp != bytesOf(xmp) ||
                             metadata.jpegSegments.size() != source.size() || metadata.jpegSegments[1].data != exif;
        EXPECT_EQ(changed, row.kept != KeptDetails::All) << static_cast<int>(row.kept);
    }
}

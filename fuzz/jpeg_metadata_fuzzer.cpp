// Any bytes as a file's head, walked to its first scan, then carried over
// into copies of any size, turned or not: the walk keeps only whole APP1 and
// APP2 segments, the orientation is 1 to 8, a copy's segments are some of the
// source's in their order with their lengths, changed only where Exif is
// patched or, in a turned copy, where an orientation digit became 1; a copy
// turned upright says 1, and carrying a copy over again changes nothing.
// Leaving the location out leaves no Exif that links a GPS directory, and
// doing it again changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "codecs/byte_source.h"
#include "codecs/exif_tags.h"
#include "codecs/jpeg_metadata.h"
#include "codecs/location_removal.h"
#include "codecs/tiff_block.h"
#include "fuzz/fuzz_support.h"

namespace {

bool isExif(const JpegSegment& segment)
{
    static const uint8_t kName[] = {'E', 'x', 'i', 'f', 0, 0};
    return segment.data.size() >= sizeof kName && std::memcmp(segment.data.data(), kName, sizeof kName) == 0;
}

bool linksGps(const uint8_t* tiff, size_t count)
{
    TiffBlock block(tiff, count);
    TiffEntry entry;
    return block.readHeader() && block.findEntry(block.firstDirectory(), kGpsDirectoryTag, entry);
}

bool comesFrom(const JpegSegment& copy, const JpegSegment& source, bool turned)
{
    if (copy.marker != source.marker || copy.data.size() != source.data.size()) return false;
    if (isExif(source)) return isExif(copy);
    for (size_t i = 0; i < copy.data.size(); ++i) {
        const uint8_t was = source.data[i];
        if (copy.data[i] != was && !(turned && copy.data[i] == '1' && was >= '2' && was <= '8')) return false;
    }
    return true;
}

// Each segment of the copy matched to the earliest source segment it can come from.
bool isCarriedOver(const JpegSegments& copy, const JpegSegments& source, bool turned)
{
    size_t at = 0;
    for (const JpegSegment& segment : copy) {
        while (at < source.size() && !comesFrom(segment, source[at], turned)) ++at;
        if (at == source.size()) return false;
        ++at;
    }
    return true;
}

bool same(const JpegSegments& a, const JpegSegments& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].marker != b[i].marker || a[i].data != b[i].data) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const int32_t width = consumeEdgyInt(data);
    const int32_t height = consumeEdgyInt(data);
    const ImageSize copySize{width, height};
    const std::vector<uint8_t> file = data.ConsumeRemainingBytes<uint8_t>();

    MemorySource source(file.data(), file.size());
    JpegSegments segments;
    const bool jpeg = readHeadSegments(source, segments);
    require(jpeg || segments.empty(), "no segments come from what is no JPEG");
    size_t kept = 0;
    for (const JpegSegment& segment : segments) {
        require(segment.marker == 0xE1 || segment.marker == 0xE2, "only APP1 and APP2 are kept");
        require(segment.data.size() <= 65533, "a segment holds what its 16-bit length counts");
        kept += segment.data.size() + 4;
    }
    require(kept <= file.size(), "the kept segments lie in the file");
    const int orientation = orientationOfSegments(segments);
    require(orientation >= 1 && orientation <= 8, "the orientation is 1 to 8");

    for (bool turned : {false, true}) {
        const JpegSegments copy = segmentsForCopy(segments, turned, copySize);
        require(isCarriedOver(copy, segments, turned), "a copy's segments are the source's, in order, changed in place");
        if (turned) require(orientationOfSegments(copy) == 1, "a turned copy says it is upright");
        require(same(segmentsForCopy(copy, turned, copySize), copy), "a copy carries over as it is");
    }

    PictureMetadata located = metadataOfSegments(segments);
    keepOnly(KeptDetails::AllButLocation, located);
    require(!linksGps(located.exif.data(), located.exif.size()), "no Exif links a GPS directory");
    for (const JpegSegment& segment : located.jpegSegments) {
        if (isExif(segment)) require(!linksGps(segment.data.data() + 6, segment.data.size() - 6), "nor any Exif segment");
    }
    PictureMetadata again = located;
    keepOnly(KeptDetails::AllButLocation, again);
    require(again.exif == located.exif && again.xmp == located.xmp && same(again.jpegSegments, located.jpegSegments),
            "leaving the location out again changes nothing");
    return 0;
}

#include "codecs/jpeg_metadata.h"

#include <cstring>

#include "codecs/exif_orientation.h"
#include "codecs/exif_patch.h"
#include "codecs/xmp_orientation.h"

namespace {

enum class SegmentKind { ColourProfile, Exif, Xmp, XmpExtension, Other };

// Each kind of segment a copy keeps starts with its own name.
struct SegmentSignature {
    SegmentKind kind;
    uint8_t marker;
    const char* name;
    size_t nameBytes;  // with the NUL that ends the name
};
template <size_t N>
constexpr SegmentSignature signature(SegmentKind kind, uint8_t marker, const char (&name)[N])
{
    return {kind, marker, name, N};
}
constexpr char kExifName[] = "Exif\0";
constexpr size_t kExifNameBytes = sizeof kExifName;
const SegmentSignature kSignatures[] = {
    signature(SegmentKind::ColourProfile, 0xE2, "ICC_PROFILE"),
    signature(SegmentKind::Exif, 0xE1, kExifName),
    signature(SegmentKind::Xmp, 0xE1, "http://ns.adobe.com/xap/1.0/"),
    signature(SegmentKind::XmpExtension, 0xE1, "http://ns.adobe.com/xmp/extension/"),
};

SegmentKind kindOf(const JpegSegment& segment)
{
    for (const SegmentSignature& known : kSignatures) {
        if (segment.marker == known.marker && segment.data.size() >= known.nameBytes &&
            std::memcmp(segment.data.data(), known.name, known.nameBytes) == 0)
            return known.kind;
    }
    return SegmentKind::Other;
}

}  // namespace

int orientationOfSegments(const JpegSegments& segments)
{
    for (const JpegSegment& segment : segments) {
        if (kindOf(segment) == SegmentKind::Exif)
            return exifOrientation(segment.data.data() + kExifNameBytes, segment.data.size() - kExifNameBytes);
    }
    return 1;
}

JpegSegments segmentsForCopy(const JpegSegments& source, bool turnedUpright, const ImageSize& copySize)
{
    JpegSegments kept;
    // Viewers read the first Exif segment, as orientationOfSegments does: a
    // later one would speak of pixels the copy did not turn.
    bool exifSeen = false;
    for (const JpegSegment& segment : source) {
        switch (kindOf(segment)) {
        case SegmentKind::ColourProfile:
        case SegmentKind::XmpExtension:
            kept.push_back(segment);
            break;
        case SegmentKind::Exif: {
            if (exifSeen) break;
            exifSeen = true;
            JpegSegment exif = segment;
            if (patchExifForCopy(exif.data.data() + kExifNameBytes, exif.data.size() - kExifNameBytes, turnedUpright,
                                 copySize))
                kept.push_back(std::move(exif));
            break;
        }
        case SegmentKind::Xmp:
            kept.push_back(segment);
            // The orientation lives in the main packet; the extension holds what did not fit.
            if (turnedUpright) setXmpOrientationUpright(kept.back().data.data(), kept.back().data.size());
            break;
        case SegmentKind::Other:
            break;
        }
    }
    return kept;
}

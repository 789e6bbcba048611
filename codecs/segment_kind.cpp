#include "codecs/segment_kind.h"

#include <cstdint>
#include <cstring>

namespace {

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
const SegmentSignature kSignatures[] = {
    signature(SegmentKind::ColourProfile, 0xE2, kProfileName),
    signature(SegmentKind::Exif, 0xE1, kExifName),
    signature(SegmentKind::Xmp, 0xE1, kXmpName),
    signature(SegmentKind::XmpExtension, 0xE1, "http://ns.adobe.com/xmp/extension/"),
};

}  // namespace

SegmentKind kindOf(const JpegSegment& segment)
{
    for (const SegmentSignature& known : kSignatures) {
        if (segment.marker == known.marker && segment.data.size() >= known.nameBytes &&
            std::memcmp(segment.data.data(), known.name, known.nameBytes) == 0)
            return known.kind;
    }
    return SegmentKind::Other;
}

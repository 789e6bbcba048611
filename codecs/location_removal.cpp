#include "codecs/location_removal.h"

#include <algorithm>

#include "codecs/exif_location.h"
#include "codecs/segment_kind.h"
#include "codecs/xmp_location.h"

namespace {

// False when the segment goes.
bool removeLocation(JpegSegment& segment)
{
    switch (kindOf(segment)) {
    case SegmentKind::ColourProfile:
        return true;
    case SegmentKind::Exif:
        return removeExifLocation(segment.data.data() + kExifNameBytes, segment.data.size() - kExifNameBytes);
    case SegmentKind::Xmp: {
        std::vector<uint8_t> packet(segment.data.begin() + kXmpNameBytes, segment.data.end());
        if (!removeXmpLocation(packet)) return false;
        segment.data.resize(kXmpNameBytes);
        segment.data.insert(segment.data.end(), packet.begin(), packet.end());
        return true;
    }
    case SegmentKind::XmpExtension:
        // A piece of a packet too long for one segment, cut at any byte: a
        // property may begin in one piece and end in the next, so no piece
        // can be read on its own.
        return false;
    case SegmentKind::Other:
        // Unknown to the copy, which leaves it out anyway; it may say anything.
        return false;
    }
    return false;
}

}  // namespace

void keepOnly(KeptDetails kept, PictureMetadata& metadata)
{
    JpegSegments& segments = metadata.jpegSegments;
    switch (kept) {
    case KeptDetails::All:
        return;
    case KeptDetails::ColourProfileOnly:
        metadata.exif.clear();
        metadata.xmp.clear();
        segments.erase(
            std::remove_if(segments.begin(), segments.end(),
                           [](const JpegSegment& segment) { return kindOf(segment) != SegmentKind::ColourProfile; }),
            segments.end());
        return;
    case KeptDetails::AllButLocation: {
        if (!metadata.exif.empty() && !removeExifLocation(metadata.exif.data(), metadata.exif.size()))
            metadata.exif.clear();
        if (!metadata.xmp.empty() && !removeXmpLocation(metadata.xmp)) metadata.xmp.clear();
        JpegSegments remaining;
        for (JpegSegment& segment : segments) {
            if (removeLocation(segment)) remaining.push_back(std::move(segment));
        }
        segments = std::move(remaining);
        return;
    }
    }
}

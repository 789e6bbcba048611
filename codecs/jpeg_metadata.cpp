#include "codecs/jpeg_metadata.h"

#include <algorithm>
#include <cstring>

#include "codecs/exif_orientation.h"
#include "codecs/exif_patch.h"
#include "codecs/profile_fit.h"
#include "codecs/segment_kind.h"
#include "codecs/xmp_orientation.h"

namespace {

// A profile chunk: the name, its number from 1 and the number of chunks, then its part.
constexpr size_t kChunkHead = sizeof kProfileName + 2;
constexpr size_t kMaxSegmentData = 65533;  // a segment's length field counts itself too

// The chunks joined by their numbers, which must run from 1 to their count once each.
std::vector<uint8_t> joinedProfile(const JpegSegments& segments)
{
    std::vector<const JpegSegment*> chunks;
    for (const JpegSegment& segment : segments) {
        if (kindOf(segment) != SegmentKind::ColourProfile || segment.data.size() < kChunkHead) continue;
        const uint8_t number = segment.data[kChunkHead - 2];
        const uint8_t count = segment.data[kChunkHead - 1];
        if (chunks.empty()) chunks.assign(count, nullptr);
        if (number == 0 || number > chunks.size() || count != chunks.size() || chunks[number - 1]) return {};
        chunks[number - 1] = &segment;
    }
    std::vector<uint8_t> profile;
    for (const JpegSegment* chunk : chunks) {
        if (!chunk) return {};
        profile.insert(profile.end(), chunk->data.begin() + kChunkHead, chunk->data.end());
    }
    return profile;
}

template <size_t N>
JpegSegment namedSegment(uint8_t marker, const char (&name)[N], const uint8_t* data, size_t count)
{
    JpegSegment segment{marker, std::vector<uint8_t>(name, name + N)};
    segment.data.insert(segment.data.end(), data, data + count);
    return segment;
}

}  // namespace

PictureMetadata metadataOfSegments(JpegSegments segments)
{
    PictureMetadata metadata;
    metadata.colourProfile = joinedProfile(segments);
    for (const JpegSegment& segment : segments) {
        const SegmentKind kind = kindOf(segment);
        if (kind == SegmentKind::Exif && metadata.exif.empty())
            metadata.exif.assign(segment.data.begin() + kExifNameBytes, segment.data.end());
        if (kind == SegmentKind::Xmp && metadata.xmp.empty())
            metadata.xmp.assign(segment.data.begin() + kXmpNameBytes, segment.data.end());
    }
    metadata.jpegSegments = std::move(segments);
    return metadata;
}

JpegSegments segmentsOfMetadata(const PictureMetadata& metadata)
{
    JpegSegments segments;
    const std::vector<uint8_t>& profile = metadata.colourProfile;
    constexpr size_t kChunkPart = kMaxSegmentData - kChunkHead;
    const size_t chunks = (profile.size() + kChunkPart - 1) / kChunkPart;
    if (chunks <= 255) {
        for (size_t i = 0; i < chunks; ++i) {
            const size_t at = i * kChunkPart;
            JpegSegment chunk = namedSegment(0xE2, kProfileName, nullptr, 0);
            chunk.data.push_back(static_cast<uint8_t>(i + 1));
            chunk.data.push_back(static_cast<uint8_t>(chunks));
            chunk.data.insert(chunk.data.end(), profile.begin() + static_cast<ptrdiff_t>(at),
                              profile.begin() + static_cast<ptrdiff_t>(std::min(profile.size(), at + kChunkPart)));
            segments.push_back(std::move(chunk));
        }
    }
    if (!metadata.exif.empty() && metadata.exif.size() + kExifNameBytes <= kMaxSegmentData)
        segments.push_back(namedSegment(0xE1, kExifName, metadata.exif.data(), metadata.exif.size()));
    if (!metadata.xmp.empty() && metadata.xmp.size() + kXmpNameBytes <= kMaxSegmentData)
        segments.push_back(namedSegment(0xE1, kXmpName, metadata.xmp.data(), metadata.xmp.size()));
    return segments;
}

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

PictureMetadata metadataForCopy(const PictureMetadata& source, bool turnedUpright, const ImageSize& copySize,
                                int32_t channels)
{
    PictureMetadata kept;
    kept.jpegSegments = segmentsForCopy(source.jpegSegments, turnedUpright, copySize);
    if (profileFitsPixels(source.colourProfile, channels)) {
        kept.colourProfile = source.colourProfile;
    } else {
        const auto isProfile = [](const JpegSegment& segment) { return kindOf(segment) == SegmentKind::ColourProfile; };
        kept.jpegSegments.erase(std::remove_if(kept.jpegSegments.begin(), kept.jpegSegments.end(), isProfile),
                                kept.jpegSegments.end());
    }
    kept.exif = source.exif;
    if (!kept.exif.empty() && !patchExifForCopy(kept.exif.data(), kept.exif.size(), turnedUpright, copySize))
        kept.exif.clear();
    kept.xmp = source.xmp;
    if (turnedUpright && !kept.xmp.empty()) setXmpOrientationUpright(kept.xmp.data(), kept.xmp.size());
    return kept;
}

JpegSegments segmentsOfCopy(const PictureMetadata& copy)
{
    return copy.jpegSegments.empty() ? segmentsOfMetadata(copy) : copy.jpegSegments;
}

#include "codecs/exif_location.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "codecs/exif_tags.h"
#include "codecs/tiff_edit.h"

namespace {

constexpr uint16_t kThumbnailOffsetTag = 0x0201;
constexpr uint16_t kThumbnailLengthTag = 0x0202;

// The GPS directory `directory` links to and the values of its entries that
// lie outside their value fields; false when one cannot be told, as a value
// of a type of unknown size.
bool addGpsSpans(const TiffBlock& block, size_t directory, std::vector<TiffSpan>& gone)
{
    for (size_t i = 0; i < block.read16(directory); ++i) {
        const TiffEntry entry = block.entryAt(directory, i);
        if (entry.tag != kGpsDirectoryTag) continue;
        const size_t gps = block.pointedDirectory(entry);
        if (!block.holdsDirectory(gps)) return false;
        gone.push_back({gps, block.directoryEnd(gps)});
        for (size_t j = 0; j < block.read16(gps); ++j) {
            const TiffEntry value = block.entryAt(gps, j);
            const uint64_t bytes = value.valueBytes();
            if (bytes == 0 && value.count != 0) return false;
            // holdsDirectory has checked that the value lies in the block.
            if (bytes <= 4) continue;
            const size_t offset = block.read32(value.valueField);
            gone.push_back({offset, offset + static_cast<size_t>(bytes)});
        }
    }
    return true;
}

uint32_t bigEndian16(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0] << 8 | bytes[1]);
}

// The markers of the APP1 segments at the head of the thumbnail JPEG in
// [begin, end); false when the head cannot be walked inside it.
bool findThumbnailApp1s(const uint8_t* tiff, size_t begin, size_t end, std::vector<size_t>& markers)
{
    if (end - begin < 2 || tiff[begin] != 0xFF || tiff[begin + 1] != 0xD8) return false;
    for (size_t at = begin + 2; at != end;) {
        if (tiff[at] != 0xFF) return false;
        while (at != end && tiff[at] == 0xFF) ++at;
        if (at == end) return false;
        const uint8_t marker = tiff[at++];
        if (marker == 0xDA || marker == 0xD9) return true;                   // the scan, or the end of the image
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length follows
        if (marker == 0x00 || marker == 0xD8 || end - at < 2) return false;
        const size_t length = bigEndian16(tiff + at);
        if (length < 2 || length > end - at) return false;
        if (marker == 0xE1) markers.push_back(at - 1);
        at += length;
    }
    return true;
}

// One SHORT or LONG of the directory, as readers take either here.
bool readNumber(const TiffBlock& block, size_t directory, uint16_t tag, uint32_t& value)
{
    TiffEntry entry;
    if (!block.findEntry(directory, tag, entry)) return false;
    if (entry.holdsOne(kTiffShort)) value = block.read16(entry.valueField);
    if (entry.holdsOne(kTiffLong)) value = block.read32(entry.valueField);
    return entry.holdsOne(kTiffShort) || entry.holdsOne(kTiffLong);
}

// The thumbnail JPEG of IFD1, as far as the block holds it; empty when IFD1
// points at none.
TiffSpan thumbnailSpan(const TiffBlock& block, size_t ifd1, size_t count)
{
    uint32_t offset = 0;
    uint32_t length = 0;
    if (!readNumber(block, ifd1, kThumbnailOffsetTag, offset) || !readNumber(block, ifd1, kThumbnailLengthTag, length))
        return {0, 0};
    // A block cut short where its segment ended may hold only the thumbnail's head.
    const size_t begin = std::min<size_t>(offset, count);
    return {begin, static_cast<size_t>(std::min<uint64_t>(uint64_t{begin} + length, count))};
}

// Takes the directory's links to the GPS directory out, moving the entries
// after them and the link to the next directory up; the bytes freed at its
// end become zeros. Nothing outside the directory moves.
void removeGpsLinks(const TiffBlock& block, uint8_t* tiff, size_t directory)
{
    size_t entries = block.read16(directory);
    for (size_t i = 0; i < entries;) {
        const size_t at = directory + 2 + i * kTiffEntryBytes;
        if (block.read16(at) != kGpsDirectoryTag) {
            ++i;
            continue;
        }
        const size_t end = block.directoryEnd(directory);
        std::memmove(tiff + at, tiff + at + kTiffEntryBytes, end - at - kTiffEntryBytes);
        std::memset(tiff + end - kTiffEntryBytes, 0, kTiffEntryBytes);
        storeTiffNumber(tiff, block.bigEndian(), directory, static_cast<uint32_t>(--entries), 2);
    }
}

}  // namespace

bool removeExifLocation(uint8_t* tiff, size_t count)
{
    TiffBlock block(tiff, count);
    if (!block.readHeader()) return false;
    // What stays and is read again after the edit; what is zeroed must lie
    // apart from it, so that no tag but the GPS ones changes and a second pass
    // finds the block as the first left it.
    TiffSpansApart kept(block);
    const size_t ifd0 = block.firstDirectory();
    if (!kept.addDirectory(ifd0)) return false;
    TiffEntry exifPointer;
    if (block.findEntry(ifd0, kExifDirectoryTag, exifPointer) &&
        !kept.addDirectory(block.pointedDirectory(exifPointer)))
        return false;
    const size_t ifd1 = block.read32(block.nextLinkField(ifd0));
    if (ifd1 != 0 && !kept.addDirectory(ifd1)) return false;

    // The thumbnail may be a camera's JPEG with an Exif segment of its own,
    // GPS and all; its APP1 segments become comments of the same length, so
    // that it stays a JPEG and no offset changes.
    std::vector<size_t> app1Markers;
    if (ifd1 != 0) {
        const TiffSpan thumbnail = thumbnailSpan(block, ifd1, count);
        if (thumbnail.end != thumbnail.begin &&
            (!findThumbnailApp1s(tiff, thumbnail.begin, thumbnail.end, app1Markers) || !kept.add(thumbnail)))
            return false;
    }
    std::vector<TiffSpan> gone;
    if (!addGpsSpans(block, ifd0, gone) || (ifd1 != 0 && !addGpsSpans(block, ifd1, gone))) return false;
    if (std::any_of(gone.begin(), gone.end(), [&](const TiffSpan& span) { return kept.meets(span); })) return false;

    // The coordinates would otherwise stay in the block, unlinked but there to read.
    for (const TiffSpan& span : gone) std::memset(tiff + span.begin, 0, span.end - span.begin);
    for (size_t marker : app1Markers) {
        tiff[marker] = 0xFE;
        std::memset(tiff + marker + 3, 0, bigEndian16(tiff + marker + 1) - 2);
    }
    removeGpsLinks(block, tiff, ifd0);
    if (ifd1 != 0) removeGpsLinks(block, tiff, ifd1);
    return true;
}

#include "codecs/exif_patch.h"

#include <algorithm>
#include <vector>

#include "codecs/exif_tags.h"
#include "codecs/tiff_block.h"

namespace {

constexpr size_t kHeaderBytes = 8;

// The directories a copy relies on, each whole in the block and apart from
// the header and the others, so that an edit in one never moves another.
class DirectoryMap {
public:
    explicit DirectoryMap(const TiffBlock& block) : block_(block) {}

    bool add(size_t directory)
    {
        if (!block_.holdsDirectory(directory)) return false;
        const Span span{directory, block_.directoryEnd(directory)};
        for (const Span& other : spans_) {
            if (span.begin < other.end && other.begin < span.end) return false;
        }
        spans_.push_back(span);
        return true;
    }

private:
    struct Span {
        size_t begin;
        size_t end;
    };
    const TiffBlock& block_;
    std::vector<Span> spans_{{0, kHeaderBytes}};
};

// `size` bytes (2 or 4) of value at offset, in the block's byte order.
void store(uint8_t* tiff, bool bigEndian, size_t offset, uint32_t value, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        tiff[offset + (bigEndian ? size - 1 - i : i)] = static_cast<uint8_t>(value >> (8 * i));
}

// A side in a SHORT or a LONG; a SHORT holds 65535 at most, as much as any
// JPEG's side.
void setPixelDimension(const TiffBlock& block, uint8_t* tiff, size_t directory, uint16_t tag, int32_t side)
{
    TiffEntry entry;
    if (!block.findEntry(directory, tag, entry)) return;
    const uint32_t value = static_cast<uint32_t>(std::max<int32_t>(side, 0));
    if (entry.holdsOne(kTiffShort)) {
        store(tiff, block.bigEndian(), entry.valueField, std::min<uint32_t>(value, 0xFFFF), 2);
    } else if (entry.holdsOne(kTiffLong)) {
        store(tiff, block.bigEndian(), entry.valueField, value, 4);
    }
}

}  // namespace

bool patchExifForCopy(uint8_t* tiff, size_t count, bool turnedUpright, const ImageSize& copySize)
{
    TiffBlock block(tiff, count);
    if (!block.readHeader()) return false;
    DirectoryMap directories(block);
    const size_t ifd0 = block.firstDirectory();
    if (!directories.add(ifd0)) return false;
    TiffEntry exifPointer;
    TiffEntry gpsPointer;
    const bool hasExif = block.findEntry(ifd0, kExifDirectoryTag, exifPointer);
    if (hasExif && !directories.add(block.pointedDirectory(exifPointer))) return false;
    if (block.findEntry(ifd0, kGpsDirectoryTag, gpsPointer) && !directories.add(block.pointedDirectory(gpsPointer)))
        return false;
    const size_t linkField = block.nextLinkField(ifd0);
    const size_t ifd1 = block.read32(linkField);
    if (ifd1 != 0 && !directories.add(ifd1)) return false;

    if (hasExif) {
        const size_t exif = block.pointedDirectory(exifPointer);
        setPixelDimension(block, tiff, exif, kPixelXDimensionTag, copySize.width);
        setPixelDimension(block, tiff, exif, kPixelYDimensionTag, copySize.height);
    }
    if (turnedUpright) {
        // The thumbnail shows the photo as stored; its bytes stay behind,
        // unreachable, so that the segment keeps its length.
        TiffEntry orientation;
        if (block.findEntry(ifd0, kOrientationTag, orientation) && orientation.holdsOne(kTiffShort))
            store(tiff, block.bigEndian(), orientation.valueField, 1, 2);
        store(tiff, block.bigEndian(), linkField, 0, 4);
    }
    return true;
}

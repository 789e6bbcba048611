#include "codecs/exif_patch.h"

#include <algorithm>

#include "codecs/exif_tags.h"
#include "codecs/tiff_edit.h"

namespace {

// A side in a SHORT or a LONG; a SHORT holds 65535 at most, as much as any
// JPEG's side.
void setPixelDimension(const TiffBlock& block, uint8_t* tiff, size_t directory, uint16_t tag, int32_t side)
{
    TiffEntry entry;
    if (!block.findEntry(directory, tag, entry)) return;
    const uint32_t value = static_cast<uint32_t>(std::max<int32_t>(side, 0));
    if (entry.holdsOne(kTiffShort)) {
        storeTiffNumber(tiff, block.bigEndian(), entry.valueField, std::min<uint32_t>(value, 0xFFFF), 2);
    } else if (entry.holdsOne(kTiffLong)) {
        storeTiffNumber(tiff, block.bigEndian(), entry.valueField, value, 4);
    }
}

}  // namespace

bool patchExifForCopy(uint8_t* tiff, size_t count, bool turnedUpright, const ImageSize& copySize)
{
    TiffBlock block(tiff, count);
    if (!block.readHeader()) return false;
    TiffSpansApart directories(block);
    const size_t ifd0 = block.firstDirectory();
    if (!directories.addDirectory(ifd0)) return false;
    TiffEntry exifPointer;
    TiffEntry gpsPointer;
    const bool hasExif = block.findEntry(ifd0, kExifDirectoryTag, exifPointer);
    if (hasExif && !directories.addDirectory(block.pointedDirectory(exifPointer))) return false;
    if (block.findEntry(ifd0, kGpsDirectoryTag, gpsPointer) &&
        !directories.addDirectory(block.pointedDirectory(gpsPointer)))
        return false;
    const size_t linkField = block.nextLinkField(ifd0);
    const size_t ifd1 = block.read32(linkField);
    if (ifd1 != 0 && !directories.addDirectory(ifd1)) return false;

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
            storeTiffNumber(tiff, block.bigEndian(), orientation.valueField, 1, 2);
        storeTiffNumber(tiff, block.bigEndian(), linkField, 0, 4);
    }
    return true;
}

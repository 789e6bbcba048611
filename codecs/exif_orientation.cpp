#include "codecs/exif_orientation.h"

#include "codecs/exif_tags.h"
#include "codecs/tiff_block.h"

int exifOrientation(const uint8_t* tiff, size_t count)
{
    constexpr int kStoredUpright = 1;
    TiffBlock block(tiff, count);
    TiffEntry entry;
    if (!block.readHeader() || !block.findEntry(block.firstDirectory(), kOrientationTag, entry)) return kStoredUpright;
    if (!entry.holdsOne(kTiffShort)) return kStoredUpright;
    const int value = block.read16(entry.valueField);
    return value >= 1 && value <= 8 ? value : kStoredUpright;
}

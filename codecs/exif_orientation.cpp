#include "codecs/exif_orientation.h"

#include <cstring>

namespace {

constexpr int kStoredUpright = 1;
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;
constexpr size_t kEntryBytes = 12;

// The TIFF block inside the Exif segment: every read is checked against its end.
class TiffBlock {
public:
    TiffBlock(const uint8_t* bytes, size_t count) : bytes_(bytes), count_(count) {}

    bool readHeader()
    {
        if (count_ < 8) return false;
        if (bytes_[0] == 'I' && bytes_[1] == 'I') {
            bigEndian_ = false;
        } else if (bytes_[0] == 'M' && bytes_[1] == 'M') {
            bigEndian_ = true;
        } else {
            return false;
        }
        return read16(2) == 42;
    }
    bool holds(size_t offset, size_t size) const { return offset <= count_ && size <= count_ - offset; }
    uint16_t read16(size_t offset) const
    {
        const uint8_t* p = bytes_ + offset;
        return static_cast<uint16_t>(bigEndian_ ? p[0] << 8 | p[1] : p[1] << 8 | p[0]);
    }
    uint32_t read32(size_t offset) const
    {
        const uint32_t first = read16(offset);
        const uint32_t second = read16(offset + 2);
        return bigEndian_ ? first << 16 | second : second << 16 | first;
    }

private:
    const uint8_t* bytes_;
    size_t count_;
    bool bigEndian_ = false;
};

int orientationInTiff(const uint8_t* bytes, size_t count)
{
    TiffBlock tiff(bytes, count);
    if (!tiff.readHeader()) return kStoredUpright;
    const size_t directory = tiff.read32(4);
    if (!tiff.holds(directory, 2)) return kStoredUpright;
    const size_t entries = tiff.read16(directory);
    for (size_t i = 0; i < entries; ++i) {
        const size_t entry = directory + 2 + i * kEntryBytes;
        if (!tiff.holds(entry, kEntryBytes)) return kStoredUpright;
        if (tiff.read16(entry) != kOrientationTag) continue;
        // One SHORT, held in the first two bytes of the value field.
        if (tiff.read16(entry + 2) != kShortType || tiff.read32(entry + 4) < 1) return kStoredUpright;
        const int value = tiff.read16(entry + 8);
        return value >= 1 && value <= 8 ? value : kStoredUpright;
    }
    return kStoredUpright;
}

bool isMarkerWithoutLength(uint8_t marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

}  // namespace

int exifOrientation(const uint8_t* bytes, size_t count)
{
    static const uint8_t kExifHeader[] = {'E', 'x', 'i', 'f', 0, 0};
    if (!bytes || count < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) return kStoredUpright;
    size_t at = 2;
    // Segments up to the first that starts the pixels: marker, 16-bit
    // big-endian length that counts itself, then the content.
    while (count - at >= 2 && bytes[at] == 0xFF) {
        const uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {  // fill byte before a marker
            ++at;
            continue;
        }
        if (isMarkerWithoutLength(marker)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA || count - at < 4) return kStoredUpright;
        const size_t length = static_cast<size_t>(bytes[at + 2]) << 8 | bytes[at + 3];
        if (length < 2 || length > count - at - 2) return kStoredUpright;
        const uint8_t* content = bytes + at + 4;
        const size_t contentBytes = length - 2;
        if (marker == 0xE1 && contentBytes >= sizeof kExifHeader &&
            std::memcmp(content, kExifHeader, sizeof kExifHeader) == 0)
            return orientationInTiff(content + sizeof kExifHeader, contentBytes - sizeof kExifHeader);
        at += 2 + length;
    }
    return kStoredUpright;
}

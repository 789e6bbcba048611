#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint16_t kTiffShort = 3;
constexpr uint16_t kTiffLong = 4;
constexpr size_t kTiffHeaderBytes = 8;
constexpr size_t kTiffEntryBytes = 12;

// One 12-byte entry of a directory, and where its 4-byte value field stands.
struct TiffEntry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    size_t valueField = 0;

    // One value of the type, which then stands in the value field itself.
    bool holdsOne(uint16_t wanted) const { return type == wanted && count == 1; }
    // Bytes of all its values; 0 for a type TIFF and Exif do not define.
    uint64_t valueBytes() const;
};

// The TIFF block inside an Exif segment, read in its own byte order: every
// read is checked against its end, so no offset in it is trusted.
class TiffBlock {
public:
    TiffBlock(const uint8_t* bytes, size_t count) : bytes_(bytes), count_(count) {}

    // The byte order and magic number; false when they are not TIFF's.
    bool readHeader();
    bool bigEndian() const { return bigEndian_; }
    size_t firstDirectory() const { return read32(4); }

    bool holds(size_t offset, size_t size) const { return offset <= count_ && size <= count_ - offset; }
    uint16_t read16(size_t offset) const;
    uint32_t read32(size_t offset) const;

    // The directory's first entry with the tag, looked for only as far as its
    // entries stay in the block.
    bool findEntry(size_t directory, uint16_t tag, TiffEntry& found) const;
    // Its count, entries and link to the next directory, and the values its
    // entries point at, all lie in the block.
    bool holdsDirectory(size_t directory) const;
    // Of a directory the block holds: the link's place, and the end after it.
    size_t nextLinkField(size_t directory) const;
    size_t directoryEnd(size_t directory) const { return nextLinkField(directory) + 4; }
    // Where an entry that points at a directory (one LONG or IFD) points;
    // SIZE_MAX, which no block holds, for any other entry.
    size_t pointedDirectory(const TiffEntry& entry) const;
    // The index-th entry of a directory whose entries the block holds.
    TiffEntry entryAt(size_t directory, size_t index) const;

private:
    bool holdsValue(const TiffEntry& entry) const;

    const uint8_t* bytes_;
    size_t count_;
    bool bigEndian_ = false;
};

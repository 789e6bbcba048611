#include "codecs/tiff_block.h"

namespace {

constexpr uint16_t kTiffDirectoryPointer = 13;

}  // namespace

// Values of the other types are kept as they are without being looked at.
uint64_t TiffEntry::valueBytes() const
{
    static const uint8_t kBytes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
    return type < sizeof kBytes ? uint64_t{count} * kBytes[type] : 0;
}

bool TiffBlock::readHeader()
{
    if (count_ < kTiffHeaderBytes) return false;
    if (bytes_[0] == 'I' && bytes_[1] == 'I') {
        bigEndian_ = false;
    } else if (bytes_[0] == 'M' && bytes_[1] == 'M') {
        bigEndian_ = true;
    } else {
        return false;
    }
    return read16(2) == 42;
}

uint16_t TiffBlock::read16(size_t offset) const
{
    const uint8_t* p = bytes_ + offset;
    return static_cast<uint16_t>(bigEndian_ ? p[0] << 8 | p[1] : p[1] << 8 | p[0]);
}

uint32_t TiffBlock::read32(size_t offset) const
{
    const uint32_t first = read16(offset);
    const uint32_t second = read16(offset + 2);
    return bigEndian_ ? first << 16 | second : second << 16 | first;
}

TiffEntry TiffBlock::entryAt(size_t directory, size_t index) const
{
    const size_t at = directory + 2 + index * kTiffEntryBytes;
    TiffEntry entry;
    entry.tag = read16(at);
    entry.type = read16(at + 2);
    entry.count = read32(at + 4);
    entry.valueField = at + 8;
    return entry;
}

bool TiffBlock::findEntry(size_t directory, uint16_t tag, TiffEntry& found) const
{
    if (!holds(directory, 2)) return false;
    const size_t entries = read16(directory);
    for (size_t i = 0; i < entries && holds(directory + 2 + i * kTiffEntryBytes, kTiffEntryBytes); ++i) {
        found = entryAt(directory, i);
        if (found.tag == tag) return true;
    }
    return false;
}

// A value of up to four bytes sits in the entry itself; a longer one is at
// the offset the entry holds.
bool TiffBlock::holdsValue(const TiffEntry& entry) const
{
    const uint64_t bytes = entry.valueBytes();
    if (bytes <= 4) return true;
    const uint64_t offset = read32(entry.valueField);
    return offset <= count_ && bytes <= count_ - offset;
}

bool TiffBlock::holdsDirectory(size_t directory) const
{
    if (!holds(directory, 2)) return false;
    const size_t entries = read16(directory);
    if (!holds(directory, 2 + entries * kTiffEntryBytes + 4)) return false;
    for (size_t i = 0; i < entries; ++i) {
        if (!holdsValue(entryAt(directory, i))) return false;
    }
    return true;
}

size_t TiffBlock::nextLinkField(size_t directory) const
{
    return directory + 2 + read16(directory) * kTiffEntryBytes;
}

size_t TiffBlock::pointedDirectory(const TiffEntry& entry) const
{
    if (!entry.holdsOne(kTiffLong) && !entry.holdsOne(kTiffDirectoryPointer)) return SIZE_MAX;
    return read32(entry.valueField);
}

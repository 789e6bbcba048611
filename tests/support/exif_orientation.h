#pragma once

#include <cstddef>
#include <cstdint>

#include "tests/support/file_system.h"

// The JPEG with an Exif APP1 segment put in straight after its start marker,
// holding one tag: Orientation (0x0112) with the given value, the way a
// camera marks a photo stored sideways (6: turn clockwise to view, 8: turn
// anticlockwise), in Intel or Motorola byte order. Empty when the bytes are
// no JPEG.
Bytes withExifOrientation(const Bytes& jpeg, unsigned short orientation, bool bigEndian = false);

// Where the fields of that segment stand in the result, for tests that break them.
namespace exif_offsets {
constexpr size_t kSegmentLength = 4;
constexpr size_t kExifHeader = 6;
constexpr size_t kByteOrder = 12;
constexpr size_t kMagic = 14;
constexpr size_t kDirectoryOffset = 16;
constexpr size_t kEntryCount = 20;
constexpr size_t kTag = 22;
constexpr size_t kType = 24;
constexpr size_t kCount = 26;
constexpr size_t kValue = 30;
constexpr size_t kEnd = 38;
}  // namespace exif_offsets

#pragma once

#include <cstddef>
#include <cstdint>

// How much of a file's start the orientation is looked for in: the Exif
// segment is at most 64 KiB and comes before the pixels, after at most a few
// small segments.
constexpr size_t kExifSearchBytes = 128 * 1024;

// The Exif orientation (1 to 8) of a JPEG file from its first bytes: tag
// 0x0112 of IFD0 in the APP1 "Exif" segment, in either byte order. 1, the
// picture as stored, when the bytes are no JPEG, hold no such tag, or any
// offset or count on the way leaves the segment.
int exifOrientation(const uint8_t* bytes, size_t count);

#pragma once

#include <cstddef>
#include <cstdint>

// The Exif orientation (1 to 8) in the TIFF block of an Exif segment: tag
// 0x0112 of IFD0, in either byte order. 1, the picture as stored, when the
// block holds no such tag, or any offset or count on the way leaves it.
int exifOrientation(const uint8_t* tiff, size_t count);

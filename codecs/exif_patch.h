#pragma once

#include <cstddef>
#include <cstdint>

#include "settings/image_size.h"

// Makes the TIFF block of an Exif segment true of a copy, in place: its
// PixelXDimension and PixelYDimension become the copy's size, and when the
// copy was turned upright, its orientation becomes 1 and the link to the
// thumbnail's directory (IFD1) is cut. False, with nothing changed, when
// IFD0, the Exif and GPS directories and IFD1 cannot all be walked inside
// the block without overlapping one another.
bool patchExifForCopy(uint8_t* tiff, size_t count, bool turnedUpright, const ImageSize& copySize);

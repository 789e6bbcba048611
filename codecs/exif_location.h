#pragma once

#include <cstddef>
#include <cstdint>

// Leaves no trace of where the picture was taken in the TIFF block of an
// Exif segment, in place and at its length: the links to the GPS directory
// go from IFD0 and IFD1, that directory and the values it points at become
// zeros, and the thumbnail's own APP1 segments become comments of zeros.
// Every other tag reads back as before. False, with nothing changed, when
// the block cannot be walked that far without its pieces overlapping.
bool removeExifLocation(uint8_t* tiff, size_t count);

#pragma once

#include <cstddef>
#include <cstdint>

// Sets every tiff:Orientation of an XMP packet to 1 in place, written as an
// attribute (tiff:Orientation="6") or as an element
// (<tiff:Orientation>6</tiff:Orientation>). A value that is not one digit
// from 1 to 8 is left as it is, since no other keeps the packet's length.
void setXmpOrientationUpright(uint8_t* packet, size_t count);

#pragma once

#include <optional>
#include <string>

#include "tests/support/file_system.h"

// The JPEG with an Exif APP1 segment put in straight after its start marker,
// holding one tag: Orientation (0x0112) with the given value, the way a
// camera marks a photo stored sideways (6: turn clockwise to view, 8: turn
// anticlockwise). Empty when the bytes are no JPEG.
Bytes withExifOrientation(const Bytes& jpeg, unsigned short orientation);

// The Orientation tag as GDI+ reads it from a picture file, if it reads one.
std::optional<int> orientationTag(const std::wstring& path);

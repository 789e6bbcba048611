#pragma once

#include <cstdint>

// The Exif tags the copy reads or changes.
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kExifDirectoryTag = 0x8769;
constexpr uint16_t kGpsDirectoryTag = 0x8825;
constexpr uint16_t kPixelXDimensionTag = 0xA002;
constexpr uint16_t kPixelYDimensionTag = 0xA003;

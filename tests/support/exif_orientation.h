#pragma once

#include <cstddef>
#include <cstdint>
#include <map>

#include "tests/support/file_system.h"

// What an Exif segment made for a test holds, the way a camera writes it: the
// Orientation (0x0112) says how to turn a photo stored sideways (6: turn
// clockwise to view, 8: anticlockwise), in Intel or Motorola byte order.
struct ExifContent {
    unsigned short orientation = 1;
    bool bigEndian = false;
    // The camera's model, the date taken (in the Exif directory) and a GPS directory with a latitude.
    bool details = false;
    // PixelXDimension and PixelYDimension in the Exif directory as SHORTs (3) or LONGs (4); 0 for none.
    uint16_t pixelSizeType = 0;
    uint32_t pixelWidth = 0;
    uint32_t pixelHeight = 0;
    // IFD1 after IFD0, pointing at a small thumbnail at the end of the segment.
    bool thumbnail = false;
};

// The data of that APP1 segment (after its length: "Exif\0\0", then the TIFF
// block), and where its fields stand in it, for tests that break or read them.
struct ExifSegment {
    Bytes data;
    std::map<uint16_t, size_t> valueFields;  // each tag's 4-byte value field
    size_t ifd1Link = 0;                     // IFD0's link to IFD1
};
constexpr size_t kTiffStart = 6;
constexpr size_t kIfd0 = kTiffStart + 8;  // right after the TIFF header

ExifSegment makeExifSegment(const ExifContent& content);

// A number as `bytes` (2 or 4) bytes in the given byte order.
Bytes exifNumber(uint32_t value, size_t bytes, bool bigEndian);

// The marker, the 16-bit length and the data of a segment.
Bytes jpegSegment(unsigned char marker, const Bytes& data);

// The JPEG with segments put in straight after its start marker; empty when
// the bytes are no JPEG.
Bytes withSegments(const Bytes& jpeg, const Bytes& segments);
// The JPEG with an Exif segment holding only the Orientation.
Bytes withExifOrientation(const Bytes& jpeg, unsigned short orientation, bool bigEndian = false);

#pragma once

#include <cstdint>
#include <vector>

// One marker segment of a JPEG file's head, as its marker (0xE1 for APP1...)
// and its data after the length field.
struct JpegSegment {
    uint8_t marker = 0;
    std::vector<uint8_t> data;
};
using JpegSegments = std::vector<JpegSegment>;

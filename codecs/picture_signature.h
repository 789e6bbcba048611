#pragma once

#include <cstddef>
#include <cstdint>

// Whether the bytes start like a JPEG: its start marker and another marker.
bool isJpegSignature(const uint8_t* bytes, size_t count);

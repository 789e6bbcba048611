#pragma once

#include <cstddef>
#include <cstdint>

// Enough of a file's start to tell its format.
constexpr size_t kSignatureBytes = 8;

// Whether the bytes start like a JPEG: its start marker and another marker.
bool isJpegSignature(const uint8_t* bytes, size_t count);

// Whether the bytes start like a JPEG, PNG, GIF, BMP or TIFF file: a
// picture that a decoder failing on must have found too large, not foreign.
bool isPictureSignature(const uint8_t* bytes, size_t count);

#pragma once

#include <cstdint>

// Length of the sequence that a byte starts, by its value alone: stray
// continuation bytes count as two-byte leads, 0xF8.. and 0xFC.. as the old
// five- and six-byte forms. Texts are never validated.
int utf8SequenceLength(unsigned char leadByte);

// Decodes the sequence at p, reading no byte at or past end; at end it gives 0.
uint32_t decodeUtf8Sequence(const char* p, const char* end);

// The start of the next sequence, never past end.
const char* nextUtf8Sequence(const char* p, const char* end);

// Writes the code point's sequence to out (room for 6 bytes); gives its length.
int encodeUtf8Sequence(uint32_t codePoint, char* out);

int decimalDigitCount(uint32_t value);

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "text/utf8_string.h"

// Ends the run as a finding when a property fails; libFuzzer keeps the input.
void require(bool holds, const char* property);

// The program's text made of the fuzzer's bytes, however odd: the byte count is
// the limit, so zero bytes stay in and only an empty input reads as empty.
Utf8String utf8Of(const std::string& bytes);

// The bytes read as little-endian UTF-16 units, any of them, an odd last byte left out.
std::u16string unitsFromBytes(const std::string& bytes);
Utf8String utf16Of(const std::u16string& units);

std::string bytesOf(const Utf8String& text);
std::u16string unitsOf(const Utf8String& text);
std::vector<uint32_t> codePointsOf(const Utf8String& text);

// Bytes 1..127 only: the texts that std::string models exactly.
bool isPlainAscii(const std::string& bytes);

// The invariants every Utf8String keeps: a NUL behind its bytes, which are
// whole sequences adding up to its character count.
void requireWellFormed(const Utf8String& text);

// Any int32_t, with the edges where sizes and ratios go wrong coming up often.
int32_t consumeEdgyInt(FuzzedDataProvider& data);

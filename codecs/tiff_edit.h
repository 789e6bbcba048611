#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/tiff_block.h"

// A stretch of a TIFF block, [begin, end).
struct TiffSpan {
    size_t begin;
    size_t end;

    bool meets(const TiffSpan& other) const { return begin < other.end && other.begin < end; }
};

// The stretches an edit in place relies on: the header, then each directory
// added, whole in the block and apart from all the others, so that writing
// into one never changes another.
class TiffSpansApart {
public:
    explicit TiffSpansApart(const TiffBlock& block) : block_(block) {}

    bool addDirectory(size_t directory);
    bool add(const TiffSpan& span);
    bool meets(const TiffSpan& span) const;

private:
    const TiffBlock& block_;
    std::vector<TiffSpan> spans_{{0, kTiffHeaderBytes}};
};

// `size` bytes (2 or 4) of value at offset, in the block's byte order.
void storeTiffNumber(uint8_t* tiff, bool bigEndian, size_t offset, uint32_t value, size_t size);

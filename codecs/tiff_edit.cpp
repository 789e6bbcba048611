#include "codecs/tiff_edit.h"

#include <algorithm>

bool TiffSpansApart::addDirectory(size_t directory)
{
    return block_.holdsDirectory(directory) && add({directory, block_.directoryEnd(directory)});
}

bool TiffSpansApart::add(const TiffSpan& span)
{
    if (meets(span)) return false;
    spans_.push_back(span);
    return true;
}

bool TiffSpansApart::meets(const TiffSpan& span) const
{
    return std::any_of(spans_.begin(), spans_.end(), [&](const TiffSpan& kept) { return kept.meets(span); });
}

void storeTiffNumber(uint8_t* tiff, bool bigEndian, size_t offset, uint32_t value, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        tiff[offset + (bigEndian ? size - 1 - i : i)] = static_cast<uint8_t>(value >> (8 * i));
}

#include "codecs/byte_source.h"

#include <algorithm>
#include <cstring>

size_t MemorySource::read(uint8_t* buffer, size_t count)
{
    const size_t taken = std::min(count, count_);
    if (taken == 0) return 0;
    std::memcpy(buffer, bytes_, taken);
    bytes_ += taken;
    count_ -= taken;
    return taken;
}

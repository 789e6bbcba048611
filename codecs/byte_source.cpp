#include "codecs/byte_source.h"

#include <algorithm>
#include <cstring>

size_t readFully(ByteSource& source, uint8_t* buffer, size_t count)
{
    size_t done = 0;
    while (done < count) {
        const size_t read = source.read(buffer + done, count - done);
        if (read == 0) break;
        done += read;
    }
    return done;
}

size_t MemorySource::read(uint8_t* buffer, size_t count)
{
    const size_t taken = std::min(count, count_);
    if (taken == 0) return 0;
    std::memcpy(buffer, bytes_, taken);
    bytes_ += taken;
    count_ -= taken;
    return taken;
}

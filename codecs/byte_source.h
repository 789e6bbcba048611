#pragma once

#include <cstddef>
#include <cstdint>

// Where a decoder reads a file's bytes from, front to back.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to count bytes into buffer; 0 at the end or on a read error. Never
    // throws: libjpeg's C code calls it.
    virtual size_t read(uint8_t* buffer, size_t count) = 0;
};

// Reads until count bytes are in buffer or the source ends; how many came.
size_t readFully(ByteSource& source, uint8_t* buffer, size_t count);

// The bytes of a block in memory.
class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t* bytes, size_t count) : bytes_(bytes), count_(count) {}
    size_t read(uint8_t* buffer, size_t count) override;

private:
    const uint8_t* bytes_;
    size_t count_;
};

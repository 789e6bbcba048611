#include <cstddef>
#include <new>

#include "text/utf8_string.h"

static const WideChar kEmptyUnits[1] = {0};

WideBuffer::WideBuffer(int32_t capacity)
{
    void* memory = ::operator new(sizeof(Block) + static_cast<size_t>(capacity) * sizeof(WideChar));
    auto* block = static_cast<Block*>(memory);
    block->refCount = 1;
    block->capacity = capacity;
    block->units = reinterpret_cast<WideChar*>(block + 1);
    block->units[0] = 0;
    block_ = SharedBlock<Block>(block);
}

const WideChar* WideBuffer::units() const
{
    return block_ ? block_->units : kEmptyUnits;
}

int32_t WideBuffer::capacity() const
{
    return block_ ? block_->capacity : 1;
}

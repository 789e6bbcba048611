#include <cstddef>
#include <new>

#include "text/utf8_string.h"

struct WideBuffer::Block {
    int32_t refCount;
    int32_t capacity;
    WideChar* units;
};

static const WideChar kEmptyUnits[1] = {0};

WideBuffer::WideBuffer(int32_t capacity)
{
    void* memory = ::operator new(sizeof(Block) + static_cast<size_t>(capacity) * sizeof(WideChar));
    block_ = static_cast<Block*>(memory);
    block_->refCount = 1;
    block_->capacity = capacity;
    block_->units = reinterpret_cast<WideChar*>(block_ + 1);
    block_->units[0] = 0;
}

WideBuffer::WideBuffer(const WideBuffer& other) noexcept : block_(other.block_)
{
    if (block_) ++block_->refCount;
}

WideBuffer::WideBuffer(WideBuffer&& other) noexcept : block_(other.block_)
{
    other.block_ = nullptr;
}

WideBuffer& WideBuffer::operator=(const WideBuffer& other) noexcept
{
    Block* taken = other.block_;
    if (taken) ++taken->refCount;
    release();
    block_ = taken;
    return *this;
}

WideBuffer& WideBuffer::operator=(WideBuffer&& other) noexcept
{
    if (this != &other) {
        release();
        block_ = other.block_;
        other.block_ = nullptr;
    }
    return *this;
}

WideBuffer::~WideBuffer()
{
    release();
}

void WideBuffer::release() noexcept
{
    if (block_ && --block_->refCount == 0) ::operator delete(block_);
    block_ = nullptr;
}

const WideChar* WideBuffer::units() const
{
    return block_ ? block_->units : kEmptyUnits;
}

int32_t WideBuffer::capacity() const
{
    return block_ ? block_->capacity : 1;
}

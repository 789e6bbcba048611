#pragma once

#include <new>
#include <utility>

// A pointer to a reference-counted block that lives in one allocation made
// with ::operator new: copies share the block, the last owner frees it. The
// count is a plain integer, since text never crosses threads.
template <typename Block>
class SharedBlock {
public:
    SharedBlock() noexcept = default;
    explicit SharedBlock(Block* block) noexcept : block_(block) {}
    SharedBlock(const SharedBlock& other) noexcept : block_(other.block_)
    {
        if (block_) ++block_->refCount;
    }
    SharedBlock(SharedBlock&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
    SharedBlock& operator=(const SharedBlock& other) noexcept
    {
        // Taking the new reference first keeps self-assignment safe.
        Block* taken = other.block_;
        if (taken) ++taken->refCount;
        release();
        block_ = taken;
        return *this;
    }
    SharedBlock& operator=(SharedBlock&& other) noexcept
    {
        if (this != &other) {
            release();
            block_ = std::exchange(other.block_, nullptr);
        }
        return *this;
    }
    ~SharedBlock() { release(); }

    Block* get() const noexcept { return block_; }
    Block* operator->() const noexcept { return block_; }
    explicit operator bool() const noexcept { return block_ != nullptr; }

private:
    void release() noexcept
    {
        if (block_ && --block_->refCount == 0) ::operator delete(block_);
        block_ = nullptr;
    }

    Block* block_ = nullptr;
};

#pragma once

#include <cstddef>

// Linked into win_tests only, where it replaces the global operator new and
// new[] (libstdc++'s nothrow forms call them): while an owner lives, every
// allocation from the given one on, counted from 0 on any thread, throws
// std::bad_alloc. Nothing fails without an owner.
class FailingAllocations {
public:
    explicit FailingAllocations(size_t succeeding);
    FailingAllocations(const FailingAllocations&) = delete;
    FailingAllocations& operator=(const FailingAllocations&) = delete;
    ~FailingAllocations();

    // Whether an allocation has been refused since the owner was made.
    bool refused() const;
};

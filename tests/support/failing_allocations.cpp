#include "tests/support/failing_allocations.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> armed{false};
// Allocations still allowed; below 0 once one was refused.
std::atomic<int64_t> allowed{0};

}  // namespace

FailingAllocations::FailingAllocations(size_t succeeding)
{
    allowed = static_cast<int64_t>(succeeding);
    armed = true;
}

FailingAllocations::~FailingAllocations()
{
    armed = false;
}

bool FailingAllocations::refused() const
{
    return allowed < 0;
}

void* operator new(size_t size)
{
    if (armed && allowed.fetch_sub(1) <= 0) throw std::bad_alloc();
    if (void* memory = std::malloc(size > 0 ? size : 1)) return memory;
    throw std::bad_alloc();
}

void* operator new[](size_t size)
{
    return ::operator new(size);
}

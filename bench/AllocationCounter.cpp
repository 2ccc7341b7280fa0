#include "AllocationCounter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Counts heap blocks, so a run can show that repeated passes leave nothing behind and
// that a steady state allocates nothing.
namespace {
std::atomic<long long> liveBlocks{0};
std::atomic<long long> allocations{0};
std::atomic<long long> liveBytes{0};
}  // namespace

void* operator new(std::size_t size) {
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        liveBlocks.fetch_add(1, std::memory_order_relaxed);
        allocations.fetch_add(1, std::memory_order_relaxed);
        liveBytes.fetch_add(static_cast<long long>(malloc_usable_size(block)), std::memory_order_relaxed);
        return block;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* block) noexcept {
    if (!block) return;
    liveBlocks.fetch_sub(1, std::memory_order_relaxed);
    liveBytes.fetch_sub(static_cast<long long>(malloc_usable_size(block)), std::memory_order_relaxed);
    std::free(block);
}
void operator delete[](void* block) noexcept {
    operator delete(block);
}
void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    operator delete(block);
}

namespace quillbern::bench {

long long allocationCount() {
    return allocations.load(std::memory_order_relaxed);
}
long long liveBlockCount() {
    return liveBlocks.load(std::memory_order_relaxed);
}
long long liveByteCount() {
    return liveBytes.load(std::memory_order_relaxed);
}

}  // namespace quillbern::bench

#include "bench/allocation_count.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace bench {
namespace {

std::atomic<std::size_t> allocations{0};
std::atomic<std::size_t> inUse{0};
std::atomic<std::size_t> peak{0};

}  // namespace

std::size_t allocationCount() {
    return allocations.load();
}
std::size_t bytesInUse() {
    return inUse.load();
}
std::size_t peakBytes() {
    return peak.load();
}
void resetPeakBytes() {
    peak.store(inUse.load());
}

// Kept in a file of their own, so that no caller has them inlined.
void* countedAllocation(std::size_t size) {
    constexpr std::size_t header = alignof(std::max_align_t);
    void* block = std::malloc(size + header);
    if (block == nullptr) throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    ++allocations;
    const std::size_t now = inUse += size;
    std::size_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
    return static_cast<char*>(block) + header;
}

void countedRelease(void* pointer) {
    if (pointer == nullptr) return;
    void* block = static_cast<char*>(pointer) - alignof(std::max_align_t);
    inUse -= *static_cast<std::size_t*>(block);
    std::free(block);
}

}  // namespace bench

// Every allocation of the benchmark goes through here, with its size stored in front of the
// block so that releases are counted too. The array forms and sized deletes fall back on these.
void* operator new(std::size_t size) {
    return bench::countedAllocation(size);
}
void operator delete(void* pointer) noexcept {
    bench::countedRelease(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    bench::countedRelease(pointer);
}

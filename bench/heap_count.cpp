#include "heap_count.h"

#include <cstddef>

std::atomic<long> heapAllocations{0};

extern "C" {
// The C library's own allocator, under the names it keeps for replacements.
void *__libc_malloc(std::size_t size);
void *__libc_calloc(std::size_t count, std::size_t size);
void *__libc_realloc(void *memory, std::size_t size);

void *malloc(std::size_t size) noexcept {
    heapAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
void *calloc(std::size_t count, std::size_t size) noexcept {
    heapAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
void *realloc(void *memory, std::size_t size) noexcept {
    heapAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(memory, size);
}
}

// Heap allocations the program's own code makes in a pass, counted by
// replacing the global allocation functions here and, in heap_count.cpp, the
// C library's malloc, calloc and realloc. The silent library allocates
// nothing, so every allocation counted is the program's (or the standard
// library's or Xlib's on its behalf). The clipboard is the real one: run it under an X server.
//
// Prints one line per notation and kind of pass, idle_held being an idle
// pass while the program holds a copied value:
//   <notation> <idle|typing|idle_held> <first counted pass> <largest over the passes>
#include "copy_state.h"
#include "heap_count.h"
#include "program_script.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

void *allocate(std::size_t size) {
    if (void *memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

// aligned_alloc is not among the counted functions, so this counts itself.
void *allocateAligned(std::size_t size, std::align_val_t alignment) {
    heapAllocations.fetch_add(1, std::memory_order_relaxed);
    const auto align = static_cast<std::size_t>(alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
    if (void *memory = std::aligned_alloc(align, rounded == 0 ? align : rounded)) {
        return memory;
    }
    throw std::bad_alloc();
}

} // namespace

void *operator new(std::size_t size) {
    return allocate(size);
}
void *operator new[](std::size_t size) {
    return allocate(size);
}
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}
void *operator new(std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
void *operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
void operator delete(void *memory) noexcept {
    std::free(memory);
}
void operator delete[](void *memory) noexcept {
    std::free(memory);
}
void operator delete(void *memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void *memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void *memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void *memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete(void *memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void *memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}

namespace {

constexpr int countedPasses = 200;

long passCounts[countedPasses + 1];
long countAtPassStart = 0;

// Called as each counted pass begins, so it closes the count of the one before.
bool countPass(int countedPass) {
    if (countedPass > 1) {
        passCounts[countedPass - 1] =
            heapAllocations.load(std::memory_order_relaxed) - countAtPassStart;
    }
    countAtPassStart = heapAllocations.load(std::memory_order_relaxed);
    return countedPass <= countedPasses;
}

void countPlan(int notation, bool typing, const char *kind) {
    PassPlan plan;
    plan.notation = notation;
    plan.typing = typing;
    runPlan(plan, countPass);
    long largest = 0;
    for (int pass = 1; pass <= countedPasses; ++pass) {
        largest = passCounts[pass] > largest ? passCounts[pass] : largest;
    }
    std::printf("%s %s %ld %ld\n", notationName[notation], kind, passCounts[1], largest);
}

} // namespace

int main() {
    for (int notation = 1; notation <= 3; ++notation) {
        countPlan(notation, false, "idle");
        countPlan(notation, true, "typing");
    }
    holdCopy(true); // the copy's own allocations fall before any counted pass
    for (int notation = 1; notation <= 3; ++notation) {
        countPlan(notation, false, "idle_held");
    }
    return 0;
}

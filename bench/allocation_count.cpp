// Heap allocations the program's own code makes in a pass, counted by
// replacing the global allocation functions. The silent library allocates
// nothing, so every allocation counted is the program's (or the standard
// library's on its behalf).
//
// Prints one line per notation and kind of pass:
//   <notation> <idle|typing> <first counted pass> <largest over the passes>
#include "program_script.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

std::size_t allocations = 0;

void *allocate(std::size_t size) {
    allocations += 1;
    if (void *memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void *allocateAligned(std::size_t size, std::align_val_t alignment) {
    allocations += 1;
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
    allocations += 1;
    return std::malloc(size == 0 ? 1 : size);
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept {
    allocations += 1;
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

std::size_t passCounts[countedPasses + 1];
std::size_t countAtPassStart = 0;

// Called as each counted pass begins, so it closes the count of the one before.
bool countPass(int countedPass) {
    if (countedPass > 1) {
        passCounts[countedPass - 1] = allocations - countAtPassStart;
    }
    countAtPassStart = allocations;
    return countedPass <= countedPasses;
}

void countPlan(int notation, bool typing) {
    PassPlan plan;
    plan.notation = notation;
    plan.typing = typing;
    runPlan(plan, countPass);
    std::size_t largest = 0;
    for (int pass = 1; pass <= countedPasses; ++pass) {
        largest = passCounts[pass] > largest ? passCounts[pass] : largest;
    }
    std::printf("%s %s %zu %zu\n", notationName[notation], typing ? "typing" : "idle",
                passCounts[1], largest);
}

} // namespace

int main() {
    for (int notation = 1; notation <= 3; ++notation) {
        countPlan(notation, false);
        countPlan(notation, true);
    }
    return 0;
}

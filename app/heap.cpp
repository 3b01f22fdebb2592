#include "app/heap.h"

#include <malloc.h>

namespace {

int passesSinceHeapTrim = 0; // passes since freed space was last handed back

constexpr int keptHeapBytes = 8 << 20; // room for two frames' blocks
constexpr int heapTrimInterval = 100;  // passes; about a second

} // namespace

void keepFrameHeap() {
    passesSinceHeapTrim = 0;
    (void)mallopt(M_TRIM_THRESHOLD, keptHeapBytes);
}

void trimFrameHeap() {
    if (++passesSinceHeapTrim < heapTrimInterval) {
        return;
    }
    passesSinceHeapTrim = 0;
    (void)malloc_trim(0);
}

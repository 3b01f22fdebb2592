// Every heap allocation of the process, counted on its way to the C
// library's allocator: malloc, calloc and realloc are replaced, and operator
// new and the library's threads reach them too. Link it only into a bench
// that counts: the replacement is for the whole process.
#pragma once

#include <atomic>

// Allocations since the process began. Relaxed is enough: a bench takes the
// difference of two readings on one thread.
extern std::atomic<long> heapAllocations;

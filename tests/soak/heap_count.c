/* Counts the heap the program holds and the passes it makes, for the soak,
 * which preloads this library into the program (LD_PRELOAD) and reads the
 * count at rest: a leak of a few bytes a pass shows there exactly, where
 * the resident size swings by a megabyte with the heap the renderer frees
 * and the C library keeps or hands back.
 *
 * Every allocation function forwards to the C library's own and adds the
 * usable size of what it returns; every release takes it off again. A pass
 * is a call of al_flip_display. The renderer holds some megabytes for the
 * frame being drawn, a 64 kB block more or less as the cursor blinks, and
 * frees them after the flip, so what a pass keeps is the lowest count
 * between two flips: the count at each flip starts the lowest anew.
 *
 * On SIGUSR1 the library appends a line "PASSES BYTES" to the file that
 * SOAK_HEAP_REPORT names: the passes so far and the lowest count of the
 * pass before the last flip. A process without SOAK_HEAP_REPORT counts and
 * never answers.
 */
// NOLINTNEXTLINE(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp): the C library's name
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <malloc.h>
#include <signal.h>
#include <stddef.h>
#include <stdlib.h>
#include <unistd.h>

/* The C library's allocator under the names it exports besides the
 * standard ones, so that the calls below do not come back here. */
// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp): the C library's names
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *block, size_t size);
void __libc_free(void *block);
void *__libc_memalign(size_t alignment, size_t size);
void *__libc_valloc(size_t size);
void *__libc_pvalloc(size_t size);
// NOLINTEND(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)

static long heapBytes = 0;          /* usable bytes of every block in use */
static long lowestBytes = LONG_MAX; /* the lowest heapBytes since the last flip */
static long passLowest = 0;         /* lowestBytes as the last flip found it */
static long passes = 0;             /* calls of al_flip_display */
static int reportFile = -1;         /* SOAK_HEAP_REPORT, opened at start-up */

static void (*realFlip)(void) = NULL;

/* Threads of the renderer allocate too, so every count is atomic. */
static void *counted(void *block) {
    if (block != NULL) {
        __atomic_add_fetch(&heapBytes, (long)malloc_usable_size(block), __ATOMIC_RELAXED);
    }
    return block;
}

static void lowerTo(long bytes) {
    long lowest = __atomic_load_n(&lowestBytes, __ATOMIC_RELAXED);
    while (bytes < lowest && !__atomic_compare_exchange_n(&lowestBytes, &lowest, bytes, 1,
                                                          __ATOMIC_RELAXED, __ATOMIC_RELAXED)) {
    }
}

static void uncount(void *block) {
    if (block != NULL) {
        lowerTo(__atomic_sub_fetch(&heapBytes, (long)malloc_usable_size(block), __ATOMIC_RELAXED));
    }
}

void *malloc(size_t size) {
    return counted(__libc_malloc(size));
}

void *calloc(size_t nmemb, size_t size) {
    return counted(__libc_calloc(nmemb, size));
}

void free(void *ptr) {
    uncount(ptr);
    __libc_free(ptr);
}

/* A block that moves or shrinks is released and allocated anew; one that
 * fails stays as it was. */
void *realloc(void *ptr, size_t size) {
    if (ptr == NULL) {
        return malloc(size);
    }
    if (size == 0) {
        free(ptr);
        return NULL;
    }
    long before = (long)malloc_usable_size(ptr);
    void *moved = __libc_realloc(ptr, size);
    if (moved != NULL) {
        lowerTo(__atomic_sub_fetch(&heapBytes, before, __ATOMIC_RELAXED));
        counted(moved);
    }
    return moved;
}

void *memalign(size_t alignment, size_t size) {
    return counted(__libc_memalign(alignment, size));
}

void *aligned_alloc(size_t alignment, size_t size) {
    return counted(__libc_memalign(alignment, size));
}

void *valloc(size_t size) {
    return counted(__libc_valloc(size));
}

void *pvalloc(size_t size) {
    return counted(__libc_pvalloc(size));
}

/* The alignment must be a power of two times the size of a pointer. */
int posix_memalign(void **memptr, size_t alignment, size_t size) {
    if (alignment % sizeof(void *) != 0 || (alignment & (alignment - 1)) != 0) {
        return EINVAL;
    }
    void *block = __libc_memalign(alignment, size);
    if (block == NULL) {
        return ENOMEM;
    }
    *memptr = counted(block);
    return 0;
}

void al_flip_display(void) {
    if (realFlip == NULL) {
        *(void **)&realFlip = dlsym(RTLD_NEXT, "al_flip_display");
    }
    long bytes = __atomic_load_n(&heapBytes, __ATOMIC_RELAXED);
    __atomic_store_n(&passLowest, __atomic_exchange_n(&lowestBytes, bytes, __ATOMIC_RELAXED),
                     __ATOMIC_RELAXED);
    __atomic_add_fetch(&passes, 1, __ATOMIC_RELAXED);
    realFlip();
}

/* Writes NUMBER (not negative) in decimal before END; returns where it
 * starts. */
static char *decimal(long number, char *end) {
    do {
        *--end = (char)('0' + number % 10);
        number /= 10;
    } while (number > 0);
    return end;
}

/* Only write(2) here: the signal may come in the middle of a malloc. */
static void report(int signal) {
    (void)signal;
    int saved = errno;
    char line[48];
    char *end = line + sizeof line;
    *--end = '\n';
    char *start = decimal(__atomic_load_n(&passLowest, __ATOMIC_RELAXED), end);
    *--start = ' ';
    start = decimal(__atomic_load_n(&passes, __ATOMIC_RELAXED), start);
    ssize_t written = write(reportFile, start, (size_t)(line + sizeof line - start));
    (void)written; /* nothing to be done here when it fails: the soak waits in vain */
    errno = saved;
}

__attribute__((constructor)) static void startReporting(void) {
    const char *path = getenv("SOAK_HEAP_REPORT");
    if (path == NULL || path[0] == '\0') {
        return;
    }
    reportFile = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (reportFile < 0) {
        return;
    }
    struct sigaction action = {.sa_handler = report, .sa_flags = SA_RESTART};
    sigemptyset(&action.sa_mask);
    (void)sigaction(SIGUSR1, &action, NULL);
}

// The drawing of a pass with the real library: the program's own drawing
// procedures, in the loop's order, and the flip that shows the frame. Run it
// under an X server from a folder holding arial.ttf.
//
// Usage: drawing_bench [passes]   (2000 unless given)
// Prints one line per notation:
//   <notation> <median µs> <99th percentile µs> <median heap allocations>
// The allocations are every malloc of the process during the pass, the
// library's included: the program's own are counted apart, and are none.
#include "app/heap.h"
#include "app/loop.h"
#include "app/startup.h"
#include "convert/convert.h"
#include "draw/frame.h"
#include "draw/keypad.h"
#include "draw/value_lines.h"
#include "input/edit.h"

#include <allegro5/allegro.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Every allocation of the process, the library's threads included, passes
// through here on its way to the C library's allocator.
namespace {
std::atomic<long> mallocCalls{0};
}

extern "C" {
void *__libc_malloc(std::size_t size);
void *__libc_calloc(std::size_t count, std::size_t size);
void *__libc_realloc(void *memory, std::size_t size);

void *malloc(std::size_t size) noexcept {
    mallocCalls.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
void *calloc(std::size_t count, std::size_t size) noexcept {
    mallocCalls.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
void *realloc(void *memory, std::size_t size) noexcept {
    mallocCalls.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(memory, size);
}
}

namespace {

constexpr int warmPasses = 50; // glyph caches and shader variants fill in here
constexpr double passRest = 0.01;

using Clock = std::chrono::steady_clock;

// Out of line, so a profiler can tell the drawing from the bookkeeping.
[[gnu::noinline]] double drawOnePass(long &allocations) {
    const long allocationsBefore = mallocCalls.load(std::memory_order_relaxed);
    const Clock::time_point start = Clock::now();
    drawFrame();
    drawKeypad();
    drawHoverHighlight();
    drawValueLines();
    drawTextCursor();
    al_flip_display();
    const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    allocations = mallocCalls.load(std::memory_order_relaxed) - allocationsBefore;
    return micros;
}

// The value at `fraction` of the sorted samples, by nearest rank.
double percentile(const std::vector<double> &sorted, double fraction) {
    const auto last = static_cast<double>(sorted.size() - 1);
    return sorted[static_cast<std::size_t>(fraction * last + 0.5)];
}

// Every field holds the same value at its longest, as after typing it.
void fillFields(int notation) {
    decimalText = "4294967295";
    hexText = "FFFFFFFF";
    binaryText = "11111111111111111111111111111111";
    InputMode = notation;
    selectField();
}

void measureNotation(int notation, const char *name, int passes) {
    fillFields(notation);
    std::vector<double> samples;
    std::vector<double> allocationCounts;
    samples.reserve(static_cast<std::size_t>(passes));
    allocationCounts.reserve(static_cast<std::size_t>(passes));
    for (int pass = 0; pass < warmPasses + passes; ++pass) {
        long allocations = 0;
        const double micros = drawOnePass(allocations);
        if (pass >= warmPasses) {
            samples.push_back(micros);
            allocationCounts.push_back(static_cast<double>(allocations));
        }
        al_rest(passRest); // as the loop rests, so the server keeps up
        trimFrameHeap();   // and gives kept heap back as the loop does
    }
    std::sort(samples.begin(), samples.end());
    std::sort(allocationCounts.begin(), allocationCounts.end());
    std::printf("%s %.0f %.0f %.0f\n", name, percentile(samples, 0.5), percentile(samples, 0.99),
                percentile(allocationCounts, 0.5));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv) {
    const int passes = argc > 1 ? std::atoi(argv[1]) : 2000;
    startUp();
    const char *const names[4] = {"", "decimal", "hexadecimal", "binary"};
    for (int notation = 1; notation <= 3; ++notation) {
        measureNotation(notation, names[notation], passes);
    }
    return 0;
}

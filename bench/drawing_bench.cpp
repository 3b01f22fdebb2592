// A pass of the program's loop with the real library, timed by Google
// Benchmark: the loop's own runPass(), so that the figure follows whatever
// the pass does. Run it under an X server from a folder holding arial.ttf,
// with --benchmark_repetitions: it starts as the program does, at the scale
// the desktop sets on that server, and names its benchmarks NOTATION/scale:S
// after the scale it found.
//
// One repetition is one pass, so that the aggregates (median, the 99th
// percentile added here) are those of single passes: the pass that trims the
// heap, one in 100, stays out of the median instead of raising a mean.
//
// A pass is timed whole: the keyboard and pointer samples, the field
// selection and editing, the drawing procedures, al_flip_display, serving
// the clipboard and the heap's trim. The loop's rests are not in it: the
// program's calls of al_rest come here instead (-Wl,--wrap=al_rest), and the
// bench takes each rest after the timed span, as long as the pass asked, so
// the server keeps up as it does under the loop.
//
// The allocations are every malloc, calloc and realloc of the process during
// the pass, the library's and its threads' included.
#include "geometry.h"

#include "app/loop.h"
#include "app/startup.h"
#include "data/scale.h"
#include "data/tables.h"
#include "input/pointer.h"

#include <allegro5/allegro.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Allocations since the process began. Relaxed is enough: the bench takes
// the difference of two readings on one thread.
std::atomic<long> heapAllocations{0};

double owedRest = 0; // seconds of rest the pass now timed has asked for

} // namespace

// The names below are the C library's and the linker's, reserved as they are.
// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)
extern "C" {
// The C library's own allocator, under the names it keeps for replacements:
// these replace malloc for the whole process, operator new and the
// library's threads included.
void *__libc_malloc(std::size_t size);
void *__libc_calloc(std::size_t nmemb, std::size_t size);
void *__libc_realloc(void *ptr, std::size_t size);

void *malloc(std::size_t size) noexcept {
    heapAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
void *calloc(std::size_t nmemb, std::size_t size) noexcept {
    heapAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(nmemb, size);
}
void *realloc(void *ptr, std::size_t size) noexcept {
    heapAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(ptr, size);
}

void __real_al_rest(double seconds);

void __wrap_al_rest(double seconds) {
    owedRest += seconds;
}
}
// NOLINTEND(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)

namespace {

constexpr int warmPasses = 50; // glyph caches and shader variants fill in here

// The notations in the order of the table, and their names there.
constexpr struct {
    int mode;
    const char *name;
} notations[] = {{decimalMode, "decimal"}, {hexMode, "hexadecimal"}, {binaryMode, "binary"}};

using Clock = std::chrono::steady_clock;

int warmNotation = 0; // the notation the passes so far were warmed up for

// The loop was left, or the pass did not see the input it was set up for:
// its figure would be of another pass.
[[noreturn]] void wrongPass(const char *what) {
    (void)std::fprintf(stderr, "drawing_bench: %s\n", what);
    std::exit(1);
}

// One pass and the rest it asked for; its time and allocations go to
// `seconds` and `allocations`.
void runOnePass(double &seconds, long &allocations) {
    const long allocationsBefore = heapAllocations.load(std::memory_order_relaxed);
    const Clock::time_point start = Clock::now();
    const bool goOn = runPass();
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
    allocations = heapAllocations.load(std::memory_order_relaxed) - allocationsBefore;
    if (!goOn) {
        wrongPass("the loop was left: a key or the pointer is not where it was set");
    }
    __real_al_rest(owedRest);
    owedRest = 0;
}

// The queue the loop fetches from, fed as its set-up feeds it.
void openEventQueue() {
    eventQueue = al_create_event_queue();
    al_register_event_source(eventQueue, al_get_keyboard_event_source());
    al_register_event_source(eventQueue, al_get_display_event_source(display));
}

// Every field holds the same value at its longest, as after typing it, and
// `notation`'s is active. After the warm passes no key is down and the
// pointer is over nothing, so no pass steps, clicks or highlights.
void warmUp(int notation) {
    decimalText = "4294967295";
    hexText = "FFFFFFFF";
    binaryText = "11111111111111111111111111111111";
    InputMode = notation;
    for (int pass = 0; pass < warmPasses; ++pass) {
        double seconds = 0;
        long allocations = 0;
        runOnePass(seconds, allocations);
    }
    if (InputMode != notation) {
        wrongPass("the active field moved: a key is down");
    }
    if (hoverTarget != 0 || mouseState.buttons != 0) {
        wrongPass("the pointer is over a target or pressed");
    }
    warmNotation = notation;
}

void drawnPass(benchmark::State &state, int notation) {
    if (warmNotation != notation) {
        warmUp(notation);
    }
    long allocations = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the library's idiom
        double seconds = 0;
        long passAllocations = 0;
        runOnePass(seconds, passAllocations);
        state.SetIterationTime(seconds);
        allocations += passAllocations;
    }
    state.counters["allocations"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}

// The value at the rank 99 % of the way from the least to the greatest,
// rounded to the nearest rank.
double percentile99(const std::vector<double> &values) {
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const auto last = static_cast<double>(sorted.size() - 1);
    return sorted[static_cast<std::size_t>(std::lround(0.99 * last))];
}

} // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    startUp();
    openEventQueue();
    // in window pixels: the same spot of the layout at any scale
    al_set_mouse_xy(display, scaled(geometry::restSpot.x), scaled(geometry::restSpot.y));
    char scale[16];
    (void)std::snprintf(scale, sizeof scale, "%g", windowScale);
    for (const auto &notation : notations) {
        const std::string name = std::string(notation.name) + "/scale:" + scale;
        const int mode = notation.mode;
        benchmark::RegisterBenchmark(name.c_str(),
                                     [mode](benchmark::State &state) { drawnPass(state, mode); })
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond)
            ->ReportAggregatesOnly(true)
            ->ComputeStatistics("p99", percentile99);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// A pass of the program's loop with the real library: the loop's own
// runPass(), so that the figure follows whatever the pass does. Run it under
// an X server from a folder holding arial.ttf.
//
// Usage: drawing_bench [passes]   (2000 unless given)
// Prints one line per notation, then two for the decimal field with nothing
// copied and with a copied value held (copy_none, copy_held):
//   <notation or state> <median µs> <99th percentile µs> <mean heap allocations>
//
// A figure is one whole pass: the keyboard and pointer samples, the field
// selection and editing, the drawing procedures, al_flip_display, serving
// the clipboard and the heap's trim (once in 100 passes). The loop's rests
// are not in it: the program's calls of al_rest come here instead
// (-Wl,--wrap=al_rest), and the bench takes each rest after the timed span,
// as long as the pass asked, so the server keeps up as it does under the
// loop.
//
// The allocations are every malloc of the process during the pass, the
// library's included: the program's own are counted apart, and an idle pass
// makes none. Their mean, not their median: passes with and without the
// blinking cursor differ by a few, and a median falls on either side by
// chance.
#include "app/loop.h"
#include "app/startup.h"
#include "convert/convert.h"
#include "copy_state.h"
#include "heap_count.h"
#include "input/pointer.h"
#include "percentile.h"

#include <allegro5/allegro.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace {

double owedRest = 0; // seconds of rest the pass now timed has asked for

} // namespace

extern "C" {
void __real_al_rest(double seconds);

void __wrap_al_rest(double seconds) {
    owedRest += seconds;
}
}

namespace {

constexpr int warmPasses = 50;       // glyph caches and shader variants fill in here
constexpr int copyBlockPasses = 100; // passes in one state before switching
constexpr int copySettlePasses = 5;  // the program takes in the switch here
constexpr int restingX = 10;         // an empty spot of the window, where
constexpr int restingY = 180;        // the pointer rests during the passes

using Clock = std::chrono::steady_clock;

// The loop was left, or the pass did not see the input it was set up for:
// its figure would be of another pass.
[[noreturn]] void wrongPass(const char *what) {
    (void)std::fprintf(stderr, "drawing_bench: %s\n", what);
    std::exit(1);
}

// Out of line, so a profiler can tell the pass from the bookkeeping.
[[gnu::noinline]] double timeOnePass(long &allocations) {
    const long allocationsBefore = heapAllocations.load(std::memory_order_relaxed);
    const Clock::time_point start = Clock::now();
    const bool goOn = runPass();
    const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    allocations = heapAllocations.load(std::memory_order_relaxed) - allocationsBefore;
    if (!goOn) {
        wrongPass("the loop was left: a key or the pointer is not where it was set");
    }
    __real_al_rest(owedRest);
    owedRest = 0;
    return micros;
}

// The queue the loop fetches from, fed as its set-up feeds it.
void openEventQueue() {
    eventQueue = al_create_event_queue();
    al_register_event_source(eventQueue, al_get_keyboard_event_source());
    al_register_event_source(eventQueue, al_get_display_event_source(display));
}

// Every field holds the same value at its longest, as after typing it. No
// key is down on the bench's own server, so the field stays active.
void fillFields(int notation) {
    decimalText = "4294967295";
    hexText = "FFFFFFFF";
    binaryText = "11111111111111111111111111111111";
    InputMode = notation;
}

struct Samples {
    std::vector<double> micros;
    std::vector<double> allocations;

    explicit Samples(int passes) {
        micros.reserve(static_cast<std::size_t>(passes));
        allocations.reserve(static_cast<std::size_t>(passes));
    }
};

// Runs `count` passes, keeping the figures of the last `kept` in `samples`.
void runPasses(int count, int kept, Samples *samples) {
    for (int pass = 0; pass < count; ++pass) {
        long allocations = 0;
        const double micros = timeOnePass(allocations);
        if (samples != nullptr && pass >= count - kept) {
            samples->micros.push_back(micros);
            samples->allocations.push_back(static_cast<double>(allocations));
        }
    }
}

// After the warm passes: the set field is still active and the pointer over
// nothing, so no pass steps, clicks or highlights.
void checkIdleInput(int notation) {
    if (InputMode != notation) {
        wrongPass("the active field moved: a key is down");
    }
    if (hoverTarget != 0 || mouseState.buttons != 0) {
        wrongPass("the pointer is over a target or pressed");
    }
}

void print(const char *name, Samples &samples) {
    const double allocations =
        std::accumulate(samples.allocations.begin(), samples.allocations.end(), 0.0) /
        static_cast<double>(samples.allocations.size());
    std::printf("%s %.0f %.0f %.1f\n", name, percentile(samples.micros, 0.5),
                percentile(samples.micros, 0.99), allocations);
    std::fflush(stdout);
}

void measureNotation(int notation, const char *name, int passes) {
    fillFields(notation);
    Samples samples(passes);
    runPasses(warmPasses, 0, nullptr);
    checkIdleInput(notation);
    runPasses(passes, passes, &samples);
    print(name, samples);
}

// The first block comes before any copy; later blocks without a copy come
// after the program lost the clipboard, which leaves it in the same state.
void measureCopyStates(int passes) {
    fillFields(1);
    Samples none(passes);
    Samples held(passes);
    for (int block = 0; static_cast<int>(held.micros.size()) < passes; ++block) {
        const bool holding = block % 2 == 1;
        Samples &samples = holding ? held : none;
        const int kept =
            std::min(copyBlockPasses, passes - static_cast<int>(samples.micros.size()));
        holdCopy(holding);
        runPasses(copySettlePasses + kept, kept, &samples);
    }
    checkIdleInput(1);
    print("copy_none", none);
    print("copy_held", held);
}

} // namespace

int main(int argc, char **argv) {
    const int passes = argc > 1 ? std::atoi(argv[1]) : 2000;
    startUp();
    openEventQueue();
    al_set_mouse_xy(display, restingX, restingY);
    const char *const names[4] = {"", "decimal", "hexadecimal", "binary"};
    for (int notation = 1; notation <= 3; ++notation) {
        measureNotation(notation, names[notation], passes);
    }
    measureCopyStates(passes);
    return 0;
}

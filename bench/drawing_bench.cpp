// A pass of the program's loop with the real library: the loop's own
// runPass(), so that the figure follows whatever the pass does. Run it under
// an X server from a folder holding arial.ttf. It starts as the program
// does, at the scale the desktop sets on that server.
//
// Usage: drawing_bench notations|copy PASSES
//   notations: PASSES passes in each notation, the field at its longest;
//   copy: PASSES idle passes of the decimal field with nothing copied and as
//         many with a copied value held (copy_none, copy_held).
// Prints "scale <the window's scale>", then one line a timed pass:
//   <notation or state> <µs> <heap allocations>
// so that passes of several launches make one set of figures (pass_figures
// reads them off).
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
// makes none.
#include "app/loop.h"
#include "app/startup.h"
#include "convert/convert.h"
#include "copy_state.h"
#include "data/scale.h"
#include "heap_count.h"
#include "input/pointer.h"

#include <allegro5/allegro.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
constexpr int restingX = 10;         // an empty spot of the layout, where
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

// Runs `count` passes and prints the figures of the last `kept` under
// `name`; none when `name` is null.
void runPasses(int count, int kept, const char *name) {
    for (int pass = 0; pass < count; ++pass) {
        long allocations = 0;
        const double micros = timeOnePass(allocations);
        if (name != nullptr && pass >= count - kept) {
            std::printf("%s %.1f %ld\n", name, micros, allocations);
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

void measureNotation(int notation, const char *name, int passes) {
    fillFields(notation);
    runPasses(warmPasses, 0, nullptr);
    checkIdleInput(notation);
    runPasses(passes, passes, name);
}

// The first block comes before any copy; later blocks without a copy come
// after the program lost the clipboard, which leaves it in the same state.
void measureCopyStates(int passes) {
    fillFields(1);
    runPasses(warmPasses, 0, nullptr);
    int printed[2] = {0, 0};
    for (int block = 0; printed[1] < passes; ++block) {
        const int holding = block % 2;
        const int kept = std::min(copyBlockPasses, passes - printed[holding]);
        holdCopy(holding == 1);
        runPasses(copySettlePasses + kept, kept, holding == 1 ? "copy_held" : "copy_none");
        printed[holding] += kept;
    }
    checkIdleInput(1);
}

[[noreturn]] void usage() {
    (void)std::fprintf(stderr, "usage: drawing_bench notations|copy PASSES\n");
    std::exit(2);
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        usage();
    }
    const bool notations = std::strcmp(argv[1], "notations") == 0;
    if (!notations && std::strcmp(argv[1], "copy") != 0) {
        usage();
    }
    const int passes = std::atoi(argv[2]);
    startUp();
    std::printf("scale %g\n", windowScale);
    openEventQueue();
    // in window pixels: the same spot of the layout at any scale
    al_set_mouse_xy(display, scaled(restingX), scaled(restingY));
    if (notations) {
        const char *const names[4] = {"", "decimal", "hexadecimal", "binary"};
        for (int notation = 1; notation <= 3; ++notation) {
            measureNotation(notation, names[notation], passes);
        }
    } else {
        measureCopyStates(passes);
    }
    std::fflush(stdout);
    return 0;
}

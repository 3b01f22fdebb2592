// The drawing of a pass with the real library: the program's own drawing
// procedures, in the loop's order, and the flip that shows the frame. Run it
// under an X server from a folder holding arial.ttf.
//
// Usage: drawing_bench [passes]   (2000 unless given)
// Prints one line per notation, then two for the decimal field with nothing
// copied and with a copied value held (copy_none, copy_held):
//   <notation or state> <median µs> <99th percentile µs> <mean heap allocations>
// The allocations are every malloc of the process during the pass, the
// library's included: the program's own are counted apart, and are none.
// Their mean, not their median: passes with and without the blinking cursor
// differ by a few, and a median falls on either side by chance.
#include "app/heap.h"
#include "app/loop.h"
#include "app/startup.h"
#include "convert/convert.h"
#include "copy_state.h"
#include "draw/frame.h"
#include "draw/keypad.h"
#include "draw/value_lines.h"
#include "heap_count.h"
#include "input/clipboard.h"
#include "input/edit.h"
#include "percentile.h"

#include <allegro5/allegro.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

namespace {

constexpr int warmPasses = 50; // glyph caches and shader variants fill in here
constexpr double passRest = 0.01;
constexpr int copyBlockPasses = 100; // passes in one state before switching
constexpr int copySettlePasses = 5;  // the program takes in the switch here

using Clock = std::chrono::steady_clock;

// Out of line, so a profiler can tell the drawing from the bookkeeping.
[[gnu::noinline]] double drawOnePass(long &allocations) {
    const long allocationsBefore = heapAllocations.load(std::memory_order_relaxed);
    const Clock::time_point start = Clock::now();
    drawFrame();
    drawKeypad();
    drawHoverHighlight();
    drawValueLines();
    drawTextCursor();
    al_flip_display();
    serveClipboard();
    const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    allocations = heapAllocations.load(std::memory_order_relaxed) - allocationsBefore;
    return micros;
}

// Every field holds the same value at its longest, as after typing it.
void fillFields(int notation) {
    decimalText = "4294967295";
    hexText = "FFFFFFFF";
    binaryText = "11111111111111111111111111111111";
    InputMode = notation;
    selectField();
}

struct Samples {
    std::vector<double> micros;
    std::vector<double> allocations;

    explicit Samples(int passes) {
        micros.reserve(static_cast<std::size_t>(passes));
        allocations.reserve(static_cast<std::size_t>(passes));
    }
};

// Draws `count` passes, keeping the figures of the last `kept` in `samples`.
void drawPasses(int count, int kept, Samples *samples) {
    for (int pass = 0; pass < count; ++pass) {
        long allocations = 0;
        const double micros = drawOnePass(allocations);
        if (samples != nullptr && pass >= count - kept) {
            samples->micros.push_back(micros);
            samples->allocations.push_back(static_cast<double>(allocations));
        }
        al_rest(passRest); // as the loop rests, so the server keeps up
        trimFrameHeap();   // and gives kept heap back as the loop does
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
    drawPasses(warmPasses, 0, nullptr);
    drawPasses(passes, passes, &samples);
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
        drawPasses(copySettlePasses + kept, kept, &samples);
    }
    print("copy_none", none);
    print("copy_held", held);
}

} // namespace

int main(int argc, char **argv) {
    const int passes = argc > 1 ? std::atoi(argv[1]) : 2000;
    startUp();
    const char *const names[4] = {"", "decimal", "hexadecimal", "binary"};
    for (int notation = 1; notation <= 3; ++notation) {
        measureNotation(notation, names[notation], passes);
    }
    measureCopyStates(passes);
    return 0;
}

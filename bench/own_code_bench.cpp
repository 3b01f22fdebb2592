// The program's own code alone, timed with Google Benchmark: the library is
// the silent stand-in, so a whole pass costs only what the program does.
//
// `own_code_bench copy-states PASSES` instead times idle passes of the
// decimal field one by one, PASSES with nothing copied and PASSES with a
// copied value held, and prints "<copy_none|copy_held> <median ns> <99th
// percentile ns>". Each figure includes one reading of the clock.
#include "program_script.h"

#include "app/loop.h"
#include "convert/convert.h"
#include "copy_state.h"
#include "input/edit.h"
#include "input/pointer.h"
#include "percentile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string *const fieldText[4] = {nullptr, &decimalText, &hexText, &binaryText};

void keepTexts() {
    benchmark::DoNotOptimize(decimalText.data());
    benchmark::DoNotOptimize(hexText.data());
    benchmark::DoNotOptimize(binaryText.data());
    benchmark::ClobberMemory();
}

void convertLongest(benchmark::State &state, int notation) {
    editText = longestText[notation];
    for (auto _ : state) {
        convertEditText(notation);
        keepTexts();
    }
}

// The field is full, so each typed character is appended, cut off again and
// the full text converted: the most work a keystroke makes.
void editTyped(benchmark::State &state, int notation) {
    InputMode = notation;
    *fieldText[notation] = longestText[notation];
    editText = longestText[notation];
    mousePrevButtons = 0;
    hoverTarget = 0;
    for (auto _ : state) {
        typedChar = typedDigit[notation];
        editStep();
        keepTexts();
    }
}

benchmark::State *timedState = nullptr;

bool timePass(int) {
    return timedState->KeepRunning();
}

// One iteration is one pass of the real loop, from its Escape-key test to the
// next, with the field already at its longest text.
void wholePass(benchmark::State &state, int notation, bool typing) {
    timedState = &state;
    PassPlan plan;
    plan.notation = notation;
    plan.typing = typing;
    runPlan(plan, timePass);
    timedState = nullptr;
}

void registerAll() {
    for (int notation = 1; notation <= 3; ++notation) {
        const std::string name = notationName[notation];
        benchmark::RegisterBenchmark(("convertEditText/" + name).c_str(), convertLongest, notation);
        benchmark::RegisterBenchmark(("editStep/" + name).c_str(), editTyped, notation);
        benchmark::RegisterBenchmark(("pass/idle/" + name).c_str(), wholePass, notation, false);
        benchmark::RegisterBenchmark(("pass/typing/" + name).c_str(), wholePass, notation, true);
    }
}

// ---- idle passes with and without a copied value ----

using Clock = std::chrono::steady_clock;

// A block is a few milliseconds: short against changes in the machine's
// load, long against the settling after each switch.
constexpr int copyBlockPasses = 20000;
// The program takes in a switch at its next pass; the X server may deliver
// the loss of the clipboard a little later.
constexpr auto copySettle = std::chrono::milliseconds(2);

struct CopyRun {
    int passes = 0;
    std::vector<double> samples[2]; // nanoseconds, by state: none, held
    bool holding = false;
    int blockLeft = 0;
    bool recording = false; // the pass now ending counts
    Clock::time_point settledAt;
    Clock::time_point passStart;
};

CopyRun copyRun;

bool timeCopyPass(int) {
    CopyRun &run = copyRun;
    const Clock::time_point now = Clock::now();
    if (run.recording) {
        run.samples[run.holding].push_back(
            std::chrono::duration<double, std::nano>(now - run.passStart).count());
        run.blockLeft -= 1;
    }
    if (run.blockLeft == 0) {
        if (static_cast<int>(run.samples[1].size()) >= run.passes) {
            return false;
        }
        run.holding = !run.holding;
        holdCopy(run.holding);
        run.blockLeft = std::min(copyBlockPasses,
                                 run.passes - static_cast<int>(run.samples[run.holding].size()));
        run.settledAt = Clock::now() + copySettle;
    }
    run.passStart = Clock::now();
    run.recording = run.passStart >= run.settledAt;
    return true;
}

// The first block, with nothing copied, comes before any copy.
int timeCopyStates(int passes) {
    copyRun.passes = passes;
    copyRun.holding = true; // the first switch is to nothing copied
    for (std::vector<double> &samples : copyRun.samples) {
        samples.reserve(static_cast<std::size_t>(passes));
    }
    PassPlan plan;
    plan.notation = 1;
    runPlan(plan, timeCopyPass);
    const char *const names[2] = {"copy_none", "copy_held"};
    for (int state = 0; state < 2; ++state) {
        std::printf("%s %.0f %.0f\n", names[state], percentile(copyRun.samples[state], 0.5),
                    percentile(copyRun.samples[state], 0.99));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 3 && std::strcmp(argv[1], "copy-states") == 0) {
        return timeCopyStates(std::atoi(argv[2]));
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

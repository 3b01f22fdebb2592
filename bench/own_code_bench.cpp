// The program's own code alone, timed with Google Benchmark: the library is
// the silent stand-in, so a whole pass costs only what the program does.
#include "program_script.h"

#include "app/loop.h"
#include "convert/convert.h"
#include "input/edit.h"
#include "input/pointer.h"

#include <benchmark/benchmark.h>

#include <string>

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

} // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

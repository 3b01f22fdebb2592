// The fuzzer's entry: each input is a script of passes played through the
// real loop, with every shown frame checked against the expected state.

#include "expected_state.h"
#include "pass_script.h"

#include "app/loop.h"
#include "input/pointer.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// The program's records start zero-filled in a new process; each input
// must start from the same place.
void resetProgramRecords() {
    std::memset(&eventRecord, 0, sizeof eventRecord);
    std::memset(&keyboardState, 0, sizeof keyboardState);
    std::memset(&mouseState, 0, sizeof mouseState);
    mousePrevX = 0;
    mousePrevY = 0;
    mousePrevButtons = 0;
    hoverTarget = 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const FuzzScript script = decodeScript(data, size);
    standin::reset();
    resetProgramRecords();
    loadScript(script);
    expectRun(script);
    standin::options().onFlip = checkShownFrame;
    checkRunEnded(runProgram());
    return 0;
}

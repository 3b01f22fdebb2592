// The fuzzer's entry: each input is a script of passes played through the
// real loop, with every shown frame checked against the expected state.

#include "expected_state.h"
#include "pass_script.h"

#include "app/loop.h"
#include "clipboard_standin.h"
#include "standin.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const FuzzScript script = decodeScript(data, size);
    standin::reset();
    standin::resetClipboard();
    standin::resetProgramRecords();
    loadScript(script);
    expectRun(script);
    standin::options().onFlip = checkShownFrame;
    checkRunEnded(runProgram());
    return 0;
}

#include "program_script.h"

#include "app/loop.h"
#include "silent_library.h"

const std::string longestText[4] = {"", "4294967295", "FFFFFFFF",
                                    "11111111111111111111111111111111"};
const char *const notationName[4] = {"", "decimal", "hexadecimal", "binary"};
const int typedDigit[4] = {0, '7', 'f', '1'};

namespace {

PassPlan activePlan;
CountedPass activeCounter = nullptr;

bool steerPass(int pass) {
    const PassPlan &plan = activePlan;
    const bool stepping = pass < plan.notation; // Down, once per pass, to the field
    silent::setKeyDown(stepping ? ALLEGRO_KEY_DOWN : 0);
    const bool warm = pass <= plan.warmPasses;
    if (!warm && !activeCounter(pass - plan.warmPasses)) {
        return false;
    }
    if (!stepping && (warm || plan.typing)) {
        silent::queueCharacter(typedDigit[plan.notation]);
    }
    return true;
}

} // namespace

void runPlan(const PassPlan &plan, CountedPass counted) {
    activePlan = plan;
    activeCounter = counted;
    silent::setPointer(10, 180, 0); // on an empty spot of the window
    silent::setPassHook(steerPass);
    runProgram();
    silent::setPassHook(nullptr);
}

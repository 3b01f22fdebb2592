#include "harness.h"

#include "app/loop.h"
#include "input/pointer.h"

#include <cstring>

void ProgramTest::SetUp() {
    standin::reset();
    std::memset(&eventRecord, 0, sizeof eventRecord);
    std::memset(&keyboardState, 0, sizeof keyboardState);
    std::memset(&mouseState, 0, sizeof mouseState);
    mousePrevX = 0;
    mousePrevY = 0;
    mousePrevButtons = 0;
    hoverTarget = 0;
}

int runPasses(int passes) {
    standin::setLength(passes);
    return runProgram();
}

ALLEGRO_COLOR paletteColor(unsigned char red, unsigned char green, unsigned char blue) {
    return {red / 255.0F, green / 255.0F, blue / 255.0F, 1.0F};
}

bool sameColor(const ALLEGRO_COLOR &a, const ALLEGRO_COLOR &b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

std::string shownText(int pass, int row) {
    static const float rowTextY[4] = {0, 35, 63, 92};
    for (const standin::Call &call : standin::callsNamed("al_draw_textf", pass)) {
        if (call.args.at(0) == 133.0F && call.args.at(1) == rowTextY[row] && call.format == "%s") {
            return call.text;
        }
    }
    return "<none>";
}

#include "input/pointer.h"

#include "data/layout.h"
#include "data/scale.h"

namespace {

// Rows and buttons are looked for only right of this, so a row's label is
// no target.
constexpr int regionsLeft = 140;

struct Region {
    int code;
    Box box; // a pointer region, as layout.h reads a box
};

// A field row reaches as far right as its box is wide, and down to the
// last line inside the box.
constexpr Region rowRegion(int mode) {
    const Box box = fieldBox(mode);
    return {mode, {regionsLeft, box.y1, regionsLeft + fieldTable[mode].fieldWidth - 1, box.y2 - 1}};
}

constexpr Region buttonRegion(int button) {
    return {targetExitButton + button, buttonHit(button)};
}

// Buttons sit beside the first two rows; no two regions overlap.
constexpr Region regionTable[] = {
    rowRegion(decimalMode), rowRegion(hexMode), rowRegion(binaryMode),
    buttonRegion(0),        buttonRegion(1),
};

constexpr bool contains(const Box &box, int x, int y) {
    return box.x1 < x && x <= box.x2 && box.y1 < y && y <= box.y2;
}

} // namespace

void resetPointer() {
    mouseState = {};
    mousePrevX = 0;
    mousePrevY = 0;
    mousePrevButtons = 0;
    hoverTarget = 0;
}

void samplePointer() {
    hoverTarget = 0;
    mousePrevX = unscaled(mouseState.x); // every test of the pass is in the layout's pixels
    mousePrevY = unscaled(mouseState.y);
    mousePrevButtons = mouseState.buttons;
    al_get_mouse_state(&mouseState);
    if (mousePrevX <= regionsLeft) {
        return;
    }
    for (const Region &region : regionTable) {
        if (contains(region.box, mousePrevX, mousePrevY)) {
            hoverTarget = region.code;
        }
    }
}

// Only the keys of the active keypad: where another keypad's key would
// stand, nothing is under the pointer.
void hitTestKeys() {
    for (int key = 0; key < keypadKeyCount; ++key) {
        if (contains(keyHit(key), mousePrevX, mousePrevY)) {
            hoverTarget = targetFirstKey + key;
        }
    }
}

// Without this wait a held button would act again in every pass; polling
// back to back keeps the release as quick to notice as possible. A signal
// that ends the run ends the wait too: a button held down, or stuck, must
// not keep the program from ending when the session does.
void waitForRelease() {
    if (mousePrevButtons <= 0) {
        return;
    }
    while (mouseState.buttons != 0 && endSignal == 0) {
        al_get_mouse_state(&mouseState);
    }
}

#include "input/pointer.h"

#include "data/layout.h"
#include "data/scale.h"

ALLEGRO_MOUSE_STATE mouseState;
int mousePrevX = 0;
int mousePrevY = 0;
int mousePrevButtons = 0;
int hoverTarget = 0;

namespace {

// Rows and buttons are looked for only right of this, so a row's label is
// no target.
constexpr int regionsLeft = 140;

// A region holds the points with left < x <= right and top < y <= bottom.
struct Region {
    int code;
    int left, right, top, bottom;
};

// A field row reaches as far right as its box is wide.
constexpr Region rowRegion(int mode) {
    const Field &field = fieldTable[mode];
    return {mode, regionsLeft, 139 + field.fieldWidth, field.fieldRowY, field.fieldRowY + 21};
}

constexpr Region buttonRegion(int button) {
    return {targetExitButton + button, 388, 461, buttonTop(button), buttonTop(button) + 19};
}

// Buttons sit beside the first two rows; no two regions overlap.
constexpr Region regionTable[] = {
    rowRegion(decimalMode), rowRegion(hexMode), rowRegion(binaryMode),
    buttonRegion(0),        buttonRegion(1),
};

constexpr bool contains(const Region &region, int x, int y) {
    return region.left < x && x <= region.right && region.top < y && y <= region.bottom;
}

} // namespace

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
        if (contains(region, mousePrevX, mousePrevY)) {
            hoverTarget = region.code;
        }
    }
}

// The key's inner face: from its left edge plus one to its right edge minus one.
void hitTestKey(int keyIndex) {
    const int left = keyLeft(keyIndex);
    const Region key = {targetFirstKey + keyIndex, left, left + 20, keyTop, keyTop + 20};
    if (contains(key, mousePrevX, mousePrevY)) {
        hoverTarget = key.code;
    }
}

// Without this wait a held button would act again in every pass; polling
// back to back keeps the release as quick to notice as possible.
void waitForRelease() {
    if (mousePrevButtons <= 0) {
        return;
    }
    while (mouseState.buttons != 0) {
        al_get_mouse_state(&mouseState);
    }
}

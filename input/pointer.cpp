#include "input/pointer.h"

#include "app/palette.h"

ALLEGRO_MOUSE_STATE mouseState;
int mousePrevX = 0;
int mousePrevY = 0;
int mousePrevButtons = 0;
int hoverTarget = 0;

namespace {

// A region holds the points with left < x <= right and top < y <= bottom.
struct Region {
    int code;
    int left, right, top, bottom;
};

// Field rows reach as far right as their boxes are wide; buttons sit beside
// the first two rows. No two regions overlap.
constexpr Region regionTable[] = {
    {1, 140, 139 + fieldWidth[1], 35, 56},
    {2, 140, 139 + fieldWidth[2], 63, 84},
    {3, 140, 139 + fieldWidth[3], 91, 112},
    {4, 388, 461, 36, 55},
    {5, 388, 461, 64, 83},
};

constexpr bool contains(const Region &region, int x, int y) {
    return region.left < x && x <= region.right && region.top < y && y <= region.bottom;
}

} // namespace

void samplePointer() {
    hoverTarget = 0;
    mousePrevX = mouseState.x;
    mousePrevY = mouseState.y;
    mousePrevButtons = mouseState.buttons;
    al_get_mouse_state(&mouseState);
    if (mousePrevX <= 140) {
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
    const int baseX = 58 + 27 * keyIndex;
    const Region key = {10 + keyIndex, baseX - 22, baseX - 2, 125, 145};
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

#include "draw/keypad.h"

#include "data/layout.h"
#include "draw/paint.h"
#include "input/pointer.h"

namespace {

void drawRaisedKey(int key) {
    const int x = keyLeft(key);
    const int y = keyTop;
    const Box face = {x, y, x + 21, y + 21};
    fillBox({x + 1, y + 1, x + 22, y + 23}, colorBackground);
    fillBox(face, colorGreyTeal);
    outlineBox(face, colorDeepTeal, 1);
    outlineBox({x + 1, y + 1, x + 20, y + 20}, colorHighlight, 1);
    drawText(fontSmall, colorInk, x + 3, y, ALLEGRO_ALIGN_LEFT, digitTable[key]);
}

// The lit face sits inside the bevel, its caption one pixel lower, as if pressed.
void highlightKey(int key) {
    const int x = keyLeft(key);
    fillBox({x, keyTop + 1, x + 19, keyTop + 20}, colorHighlight);
    drawText(fontSmall, colorInk, x + 3, keyTop + 1, ALLEGRO_ALIGN_LEFT, digitTable[key]);
}

// The caption moves one pixel right and down and darkens.
void highlightButton(int target) {
    const int t = buttonTop(target - targetExitButton);
    fillBox({390, t, 461, t + 18}, colorHighlight);
    drawText(fontSmall, colorInk, 426, t + 2, ALLEGRO_ALIGN_CENTRE, labelTable[target]);
}

} // namespace

void drawKeypad() {
    for (int key = 0; key < keypadKeyCount; ++key) {
        drawRaisedKey(key);
        hitTestKey(key);
    }
}

// A held button hides the highlight, so the pass that acts on a click shows
// the key as pressed rather than lit.
void drawHoverHighlight() {
    if (mousePrevButtons != 0) {
        return;
    }
    if (hoverTarget >= targetFirstKey) {
        highlightKey(hoverTarget - targetFirstKey);
    } else if (hoverTarget == targetExitButton || hoverTarget == targetBackButton) {
        highlightButton(hoverTarget);
    }
}

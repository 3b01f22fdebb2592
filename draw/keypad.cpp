#include "draw/keypad.h"

#include "app/palette.h"
#include "draw/paint.h"
#include "input/edit.h"
#include "input/pointer.h"

namespace {

void drawRaisedKey(int key) {
    const int x = keyLeft(key);
    const Box face = {x, 125, x + 21, 146};
    fillBox({x + 1, 126, x + 22, 148}, colorBackground);
    fillBox(face, colorGreyTeal);
    outlineBox(face, colorDeepTeal, 1);
    outlineBox({x + 1, 126, x + 20, 145}, colorHighlight, 1);
    drawText(fontSmall, colorInk, x + 3, 125, ALLEGRO_ALIGN_LEFT, digitTable[key]);
}

// The lit face sits inside the bevel, its caption one pixel lower, as if pressed.
void highlightKey(int key) {
    const int x = keyLeft(key);
    fillBox({x, 126, x + 19, 145}, colorHighlight);
    drawText(fontSmall, colorInk, x + 3, 126, ALLEGRO_ALIGN_LEFT, digitTable[key]);
}

// The caption moves one pixel right and down and darkens.
void highlightButton(int target) {
    const int t = buttonTop(target - 4);
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
    if (hoverTarget >= 10) {
        highlightKey(hoverTarget - 10);
    } else if (hoverTarget == 4 || hoverTarget == 5) {
        highlightButton(hoverTarget);
    }
}

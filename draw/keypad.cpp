#include "draw/keypad.h"

#include "data/layout.h"
#include "draw/paint.h"

namespace {

void drawRaisedKey(int key) {
    const Box face = keyFace(key);
    drawRaisedFace(face, keyBevel(key));
    drawText(fontSmall, colorInk, face.x1 + keyCaptionIndent, face.y1, ALLEGRO_ALIGN_LEFT,
             digitTable[key]);
}

// The lit face sits inside the bevel, its caption one pixel lower, as if pressed.
void highlightKey(int key) {
    const Box lit = keyLit(key);
    fillBox(lit, colorHighlight);
    drawText(fontSmall, colorInk, lit.x1 + keyCaptionIndent, lit.y1, ALLEGRO_ALIGN_LEFT,
             digitTable[key]);
}

// The caption moves one pixel right and down and darkens.
void highlightButton(int target) {
    const int button = target - targetExitButton;
    fillBox(buttonLit(button), colorHighlight);
    drawText(fontSmall, colorInk, buttonCaptionX(button) + 1, buttonTop(button) + 2,
             ALLEGRO_ALIGN_CENTRE, labelTable[target]);
}

} // namespace

void drawKeypad() {
    for (int key = 0; key < keypadKeyCount; ++key) {
        drawRaisedKey(key);
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

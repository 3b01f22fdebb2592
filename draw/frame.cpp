#include "draw/frame.h"

#include "data/layout.h"
#include "draw/paint.h"

namespace {

const std::string creditLine;   // drawn, but with nothing in it
constexpr int labelRight = 120; // where a row's name ends, left of its box
constexpr int headingY = 30;
constexpr int creditDrop = 5; // the credit line's top below the panel's bottom

struct PanelStep {
    Box box;
    const ALLEGRO_COLOR *color;
    int thickness; // 0 fills
};

// The panel's drop shadow, face and double rim.
const PanelStep panelTable[] = {
    {{panelFace.x1 + 2, panelFace.y1 + 2, panelFace.x2 + 3, panelFace.y2 + 3}, &colorDeepTeal, 0},
    {panelFace, &colorTeal, 0},
    {panelFace, &colorInk, 2},
    {{panelFace.x1 + 1, panelFace.y1 + 1, panelFace.x2 - 1, panelFace.y2 - 1}, &colorBackground, 2},
};

void drawPanel() {
    for (const PanelStep &step : panelTable) {
        if (step.thickness == 0) {
            fillBox(step.box, *step.color);
        } else {
            outlineBox(step.box, *step.color, step.thickness);
        }
    }
}

// Each row has its label right-aligned before a box as wide as the field;
// the label's darker copy one pixel down and right makes it look raised.
void drawFieldRow(int mode) {
    const Box box = fieldBox(mode);
    drawText(fontMedium, colorBackground, labelRight + 1, box.y1 + 1, ALLEGRO_ALIGN_RIGHT,
             labelTable[mode]);
    drawText(fontMedium, colorAccent, labelRight, box.y1, ALLEGRO_ALIGN_RIGHT, labelTable[mode]);
    fillBox(box, colorMidTeal);
    outlineBox(box, colorDeepTeal, 1);
}

// Button 0 is the exit, button 1 the back button.
void drawButton(int button) {
    const Box face = buttonFace(button);
    drawRaisedFace(face, buttonBevel(button));
    drawText(fontSmall, colorDeepTeal, buttonCaptionX(button), face.y1 + 1, ALLEGRO_ALIGN_CENTRE,
             labelTable[targetExitButton + button]);
}

// Every key in the background colour; the keypad of the active field is
// raised over these.
void drawIdleKey(int key) {
    const Box face = keyFace(key);
    outlineBox(face, colorBackground, 1);
    drawText(fontSmall, colorBackground, face.x1 + keyCaptionIndent, face.y1, ALLEGRO_ALIGN_LEFT,
             digitTable[key]);
}

} // namespace

void drawFrame() {
    al_clear_to_color(colorBackground);
    drawPanel();
    drawText(fontLarge, colorDeepTeal, windowWidth / 2, headingY, ALLEGRO_ALIGN_CENTRE,
             labelTable[6]);
    drawText(fontSmall, colorInk, panelFace.x2, panelFace.y2 + creditDrop, ALLEGRO_ALIGN_RIGHT,
             creditLine);
    for (int mode = decimalMode; mode <= binaryMode; ++mode) {
        drawFieldRow(mode);
    }
    for (int button = 0; button <= 1; ++button) {
        drawButton(button);
    }
    for (int key = 0; key < keypadKeys; ++key) {
        drawIdleKey(key);
    }
}

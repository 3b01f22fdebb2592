#include "draw/frame.h"

#include "data/layout.h"
#include "draw/paint.h"

namespace {

const std::string creditLine; // drawn, but with nothing in it

struct PanelStep {
    Box box;
    const ALLEGRO_COLOR *color;
    int thickness; // 0 fills
};

// The panel's drop shadow, face and double rim.
const PanelStep panelTable[] = {
    {{22, 22, 479, 163}, &colorDeepTeal, 0},
    {{20, 20, 476, 160}, &colorTeal, 0},
    {{20, 20, 476, 160}, &colorInk, 2},
    {{21, 21, 475, 159}, &colorBackground, 2},
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
    const Field &field = fieldTable[mode];
    const int y = field.fieldRowY;
    const Box box = {fieldBoxLeft, y, fieldBoxLeft + field.fieldWidth, y + 22};
    drawText(fontMedium, colorBackground, 121, y + 1, ALLEGRO_ALIGN_RIGHT, labelTable[mode]);
    drawText(fontMedium, colorAccent, 120, y, ALLEGRO_ALIGN_RIGHT, labelTable[mode]);
    fillBox(box, colorMidTeal);
    outlineBox(box, colorDeepTeal, 1);
}

// Button 0 is the exit, button 1 the back button.
void drawButton(int button) {
    const Box face = buttonFace(button);
    fillBox(dropShadow(face), colorBackground);
    fillBox(face, colorGreyTeal);
    outlineBox(face, colorDeepTeal, 1);
    outlineBox(buttonBevel(button), colorHighlight, 1);
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
    drawText(fontLarge, colorDeepTeal, windowWidth / 2, 30, ALLEGRO_ALIGN_CENTRE, labelTable[6]);
    drawText(fontSmall, colorInk, 476, 165, ALLEGRO_ALIGN_RIGHT, creditLine);
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

#include "draw/value_lines.h"

#include "data/layout.h"
#include "draw/paint.h"

namespace {

constexpr int textX = fieldBoxLeft + 3; // texts and cursor start three pixels inside the box
constexpr int blinkCycle = 100;
constexpr int blinkShown = 49; // last counter value that shows the cursor

} // namespace

void resetTextCursor() {
    blinkCounter = 0;
    cursorOffset = 0;
}

void drawValueLines() {
    fillBox(fieldLit(InputMode), colorFieldFill);
    for (int mode = decimalMode; mode <= binaryMode; ++mode) {
        const Field &field = fieldTable[mode];
        drawText(*field.font, colorInk, textX, field.fieldRowY + field.textDrop, ALLEGRO_ALIGN_LEFT,
                 *field.text);
    }
}

// The cursor stands where the text ended last pass: it is measured after it
// is drawn, so it follows a change one pass late.
void drawTextCursor() {
    blinkCounter += 1;
    if (blinkCounter > blinkCycle) {
        blinkCounter = 0;
    }
    const Field &field = fieldTable[InputMode];
    const ALLEGRO_FONT *font = *field.font;
    if (blinkCounter <= blinkShown) {
        drawCursorMark(font, colorTeal, textX, fieldRowY - 2, cursorOffset, field.fieldWidth);
    }
    cursorOffset = al_get_text_width(font, editText.c_str());
}

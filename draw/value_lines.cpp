#include "draw/value_lines.h"

#include "app/loop.h"
#include "app/palette.h"
#include "convert/convert.h"
#include "draw/paint.h"
#include "input/edit.h"

int blinkCounter = 0;
int cursorOffset = 0;

namespace {

constexpr int textX = 133; // texts and cursor start three pixels inside the box
constexpr int blinkCycle = 100;
constexpr int blinkShown = 49; // last counter value that shows the cursor

struct TextLine {
    const std::string *text;
    ALLEGRO_FONT *const *font;
    int y;
};

// The binary text sits one pixel lower than its row.
const TextLine textLineTable[] = {
    {&decimalText, &fontLarge, 35},
    {&hexText, &fontLarge, 63},
    {&binaryText, &fontMedium, 92},
};

const ALLEGRO_FONT *activeFont() {
    return InputMode == 3 ? fontMedium : fontLarge;
}

} // namespace

void drawValueLines() {
    fillBox({130, fieldRowY, 129 + fieldWidth[InputMode], fieldRowY + 21}, colorFieldFill);
    for (const TextLine &line : textLineTable) {
        drawText(*line.font, colorInk, textX, line.y, ALLEGRO_ALIGN_LEFT, *line.text);
    }
}

// The cursor stands where the text ended last pass: it is measured after it
// is drawn, so it follows a change one pass late.
void drawTextCursor() {
    blinkCounter += 1;
    if (blinkCounter > blinkCycle) {
        blinkCounter = 0;
    }
    const ALLEGRO_FONT *font = activeFont();
    if (blinkCounter <= blinkShown && cursorOffset < fieldWidth[InputMode]) {
        al_draw_textf(font, colorTeal, static_cast<float>(textX + cursorOffset),
                      static_cast<float>(fieldRowY - 2), ALLEGRO_ALIGN_LEFT, "_");
    }
    cursorOffset = al_get_text_width(font, editText.c_str());
}

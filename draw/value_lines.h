// The changing half of the field rows: the active box, the three texts and
// the blinking cursor after the text being edited.
#pragma once

extern int blinkCounter; // 0..100, one step a pass; the cursor shows at 0..49
extern int
    cursorOffset; // width of editText, in window pixels, as measured at the end of the last pass

void drawValueLines(); // the active field's box, then all three texts
void drawTextCursor(); // blinks the cursor and measures editText for the next pass

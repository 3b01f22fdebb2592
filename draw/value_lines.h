// The changing half of the field rows: the active box, the three texts and
// the blinking cursor after the text being edited.
#pragma once

#include "data/state.h"

void resetTextCursor(); // the blink phase and the cursor at the start, as a new run starts
void drawValueLines();  // the active field's box, then all three texts
void drawTextCursor();  // blinks the cursor and measures editText for the next pass

// Which field is active, and editing of its text at the end.
// Both work on the loop's variables in data/state.h.
#pragma once

#include "data/state.h"

// A row click wins over the arrow keys; then editText, fieldRowY and
// keypadKeyCount follow the active field.
void selectField();
// Applies this pass's paste, keypad click, typed character, back button and
// backspace to editText, commits it and converts it into the other fields.
// Ctrl+C copies the active field first, whether or not anything is edited.
void editStep();

// Which field is active, editing of its text at the end, and the rows
// written from it. All work on the pass's state in data/state.h.
#pragma once

#include "data/state.h"

// The decimal field active and all texts empty, as a new run starts.
void resetFields();
// A row click wins over the arrow keys; then editText, fieldRowY and
// keypadKeyCount follow the active field.
void selectField();
// Applies this pass's paste, keypad click, typed character, back button and
// backspace to editText, commits it and converts it into the other fields.
// Ctrl+C copies the active field first, whether or not anything is edited.
void editStep();
// Reads editText in the notation of `mode` (an InputMode) and writes the
// value into the texts of the two other rows.
void convertEditText(int mode);
// A decimal text of zeros alone is shown as an empty row, however it came.
void applyZeroRule();

// Which field is active, and editing of its text at the end.
#pragma once

#include <string>

extern std::string editText; // working copy of the active field's text, reloaded every pass
extern int fieldRowY;        // top of the active row: 35, 63 or 91
extern int keypadKeyCount;   // keys of the active keypad: 10, 16 or 2

// A row click wins over the arrow keys; then editText, fieldRowY and
// keypadKeyCount follow the active field.
void selectField();
// Applies this pass's paste, keypad click, typed character, back button and
// backspace to editText, commits it and converts it into the other fields.
// Ctrl+C copies the active field first, whether or not anything is edited.
void editStep();

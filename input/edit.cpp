#include "input/edit.h"

#include "data/layout.h"
#include "convert/convert.h"
#include "convert/paste.h"
#include "input/clipboard.h"
#include "input/pointer.h"

#include <cstdint>

namespace {

constexpr int backspaceChar = 8;
constexpr int copyChar = 3;        // Ctrl+C, and Ctrl+Shift+C with Shift in the modifiers
constexpr int pasteChar = 22;      // Ctrl+V
constexpr int lastControlChar = 7; // characters up to here edit nothing

bool clicked() {
    return mousePrevButtons == 1;
}

// A click on one of the keypad keys first..last appends its digit.
void appendClickedKey(int first, int last) {
    const int key = hoverTarget - targetFirstKey;
    if (clicked() && key >= first && key <= last) {
        editText += digitTable[key];
    }
}

// A typed character in first..last is appended, lowered by `shift` (which
// turns lower-case hexadecimal letters into upper case).
void appendTyped(int first, int last, int shift = 0) {
    if (typedChar >= first && typedChar <= last) {
        editText += static_cast<char>(typedChar - shift);
    }
}

void removeLast() {
    if (!editText.empty()) {
        editText.pop_back();
    }
}

void removeOnBack() {
    if (clicked() && hoverTarget == targetBackButton) {
        removeLast();
    }
    if (typedChar == backspaceChar) {
        removeLast();
    }
}

// What is shown is what is copied; an empty row shows the value 0. With
// Shift the copy carries its notation's marker, ready for a program's
// source, and reads back as the same text when pasted into the same row.
void copyActiveField() {
    const Field &field = fieldTable[InputMode];
    const std::string &shown = *field.text;
    const bool forCode = (eventRecord.keyboard.modifiers & ALLEGRO_KEYMOD_SHIFT) != 0;
    copyToClipboard((forCode ? field.codeMarker : "") + (shown.empty() ? "0" : shown));
}

// The value in the notation of `mode`, without leading zeros.
std::string writtenIn(int mode, std::uint64_t value) {
    if (mode == decimalMode) {
        return formatDecimal(value);
    }
    const std::string text = formatByDivision(value, notationBase[mode]);
    return text.empty() ? "0" : text;
}

// An accepted paste replaces editText: as written when it is in the field's
// own notation and fits, as a person would have typed it; otherwise as the
// conversion writes values. A refused paste leaves it alone and rings.
void pasteIntoEditText() {
    std::string pasted;
    PastedNumber number;
    if (!pasteFromClipboard(pasted) || !readPastedNumber(pasted, InputMode, number)) {
        ringBell();
        return;
    }
    const bool keepDigits =
        number.notation == InputMode && number.digits.size() <= fieldTable[InputMode].digitLimit;
    editText = keepDigits ? number.digits : writtenIn(InputMode, number.value);
}

// The order decides what a key click and a typed character in the same pass
// leave behind; it is the same in every field: a paste, then digits, then
// letters, then removals.
void applyEditActions() {
    if (typedChar == pasteChar) {
        pasteIntoEditText();
    }
    switch (InputMode) {
    case decimalMode:
        appendClickedKey(0, 9);
        appendTyped('0', '9');
        break;
    case hexMode:
        appendClickedKey(0, 9);
        appendTyped('0', '9');
        appendClickedKey(10, 15);
        appendTyped('A', 'F');
        appendTyped('a', 'f', 'a' - 'A');
        break;
    default:
        appendClickedKey(0, 1);
        appendTyped('0', '1');
        break;
    }
    removeOnBack();
}

} // namespace

void selectField() {
    if (hoverTarget >= decimalMode && hoverTarget <= binaryMode && clicked()) {
        InputMode = hoverTarget;
    }
    const Field &field = fieldTable[InputMode];
    editText = *field.text;
    fieldRowY = field.fieldRowY;
    keypadKeyCount = field.keypadKeyCount;
}

void editStep() {
    if (typedChar == copyChar) {
        copyActiveField(); // below the gate: nothing else changes
    }
    if (typedChar <= lastControlChar && !clicked()) {
        return;
    }
    applyEditActions();
    const Field &field = fieldTable[InputMode];
    if (editText.size() > field.digitLimit) {
        editText.resize(field.digitLimit); // the newest characters go
    }
    for (int mode = decimalMode; mode <= binaryMode; ++mode) {
        if (mode == InputMode) {
            *fieldTable[mode].text = editText;
        } else {
            fieldTable[mode].text->clear(); // refilled by the conversion below
        }
    }
    convertEditText(InputMode);
}

#include "input/edit.h"

#include "convert/convert.h"
#include "convert/paste.h"
#include "data/layout.h"
#include "input/clipboard.h"
#include "input/pointer.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int backspaceChar = 8;
constexpr int copyChar = 3;        // Ctrl+C, and Ctrl+Shift+C with Shift in the modifiers
constexpr int pasteChar = 22;      // Ctrl+V
constexpr int lastControlChar = 7; // characters up to here edit nothing

// A click on one of the keypad keys first..last appends its digit.
void appendClickedKey(int first, int last) {
    const int key = hoverTarget - targetFirstKey;
    if (primaryClicked() && key >= first && key <= last) {
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
    if (primaryClicked() && hoverTarget == targetBackButton) {
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
    const std::string &shown = *fieldTable[InputMode].text;
    const bool forCode = (eventRecord.keyboard.modifiers & ALLEGRO_KEYMOD_SHIFT) != 0;
    copyToClipboard((forCode ? notationTable[InputMode].marker : "") +
                    (shown.empty() ? "0" : shown));
}

// An accepted paste replaces editText; a refused one leaves it alone and
// rings, or it would look as if Ctrl+V had not been pressed.
void pasteIntoEditText() {
    std::string pasted;
    if (!pasteFromClipboard(pasted) || !readPastedText(pasted, InputMode, editText)) {
        ringBell();
    }
}

// The order decides what a key click and a typed character in the same pass
// leave behind; it is the same in every field: a paste, then the digits 0
// to 9, then the letters, then removals. A notation's keys and typed
// characters are the first `base` digits.
void applyEditActions() {
    if (typedChar == pasteChar) {
        pasteIntoEditText();
    }
    const int base = static_cast<int>(notationTable[InputMode].base);
    const int figures = std::min(base, 10); // the digits 0 to 9 it has
    appendClickedKey(0, figures - 1);
    appendTyped('0', '0' + figures - 1);
    if (base > 10) {
        const int letters = base - 10;
        appendClickedKey(10, base - 1);
        appendTyped('A', 'A' + letters - 1);
        appendTyped('a', 'a' + letters - 1, 'a' - 'A');
    }
    removeOnBack();
}

} // namespace

void resetFields() {
    InputMode = decimalMode;
    fieldRowY = 0;
    keypadKeyCount = 10;
    editText.clear();
    decimalText.clear();
    hexText.clear();
    binaryText.clear();
}

void selectField() {
    if (hoverTarget >= decimalMode && hoverTarget <= binaryMode && primaryClicked()) {
        InputMode = hoverTarget;
    }
    editText = *fieldTable[InputMode].text;
    fieldRowY = fieldTable[InputMode].fieldRowY;
    keypadKeyCount = static_cast<int>(notationTable[InputMode].base);
}

void editStep() {
    if (typedChar == copyChar) {
        copyActiveField(); // below the gate: nothing else changes
    }
    if (typedChar <= lastControlChar && !primaryClicked()) {
        return;
    }
    applyEditActions();
    const std::size_t limit = notationTable[InputMode].digitLimit;
    if (editText.size() > limit) {
        editText.resize(limit); // the newest characters go
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

// The value, read once, written into the two other rows; the active row
// keeps its text as edited, but for a decimal text beyond 32 bits, which
// shows the largest value and is edited from there in the next pass.
void convertEditText(int mode) {
    bool clamped = false;
    const std::uint64_t currentValue = readValue(mode, editText, clamped);
    if (clamped) {
        decimalText = shownValue(decimalMode, currentValue);
    }
    for (int other = decimalMode; other <= binaryMode; ++other) {
        if (other != mode) {
            *fieldTable[other].text = shownValue(other, currentValue);
        }
    }
}

void applyZeroRule() {
    if (zeroRuleBlanks(decimalText)) {
        decimalText.clear();
    }
}

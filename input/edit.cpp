#include "input/edit.h"

#include "app/loop.h"
#include "app/palette.h"
#include "convert/convert.h"
#include "convert/paste.h"
#include "input/clipboard.h"
#include "input/pointer.h"

#include <cstddef>
#include <cstdint>

std::string editText;
int fieldRowY = 0;
int keypadKeyCount = 10;

namespace {

constexpr int backButton = 5;
constexpr int backspaceChar = 8;
constexpr int copyChar = 3;   // Ctrl+C
constexpr int pasteChar = 22; // Ctrl+V

struct Field {
    std::string *text;
    int rowY;
    int keyCount;
    std::size_t limit; // longest text the field keeps
};

// Indexed by InputMode; entry 0 belongs to no field.
const Field fieldTable[4] = {
    {nullptr, 0, 0, 0},
    {&decimalText, 35, 10, 10},
    {&hexText, 63, 16, 8},
    {&binaryText, 91, 2, 32},
};

bool clicked() {
    return mousePrevButtons == 1;
}

// A click on a keypad key whose code lies in first..last appends its digit.
void appendClickedKey(int first, int last) {
    if (clicked() && hoverTarget >= first && hoverTarget <= last) {
        editText += digitTable[hoverTarget - 10];
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
    if (clicked() && hoverTarget == backButton) {
        removeLast();
    }
    if (typedChar == backspaceChar) {
        removeLast();
    }
}

// What is shown is what is copied; an empty row shows the value 0.
void copyActiveField() {
    const std::string &shown = *fieldTable[InputMode].text;
    copyToClipboard(shown.empty() ? "0" : shown);
}

// The value in the notation of `mode`, without leading zeros.
std::string writtenIn(int mode, std::uint64_t value) {
    if (mode == 1) {
        return formatDecimal(value);
    }
    const std::string text = formatByDivision(value, mode == 2 ? 16 : 2);
    return text.empty() ? "0" : text;
}

// An accepted paste replaces editText: as written when it is in the field's
// own notation and fits, as a person would have typed it; otherwise as the
// conversion writes values. A refused paste leaves it alone.
void pasteIntoEditText() {
    std::string pasted;
    PastedNumber number;
    if (!pasteFromClipboard(pasted) || !readPastedNumber(pasted, InputMode, number)) {
        return;
    }
    const bool keepDigits =
        number.notation == InputMode && number.digits.size() <= fieldTable[InputMode].limit;
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
    case 1:
        appendClickedKey(10, 19);
        appendTyped('0', '9');
        break;
    case 2:
        appendClickedKey(10, 19);
        appendTyped('0', '9');
        appendClickedKey(20, 25);
        appendTyped('A', 'F');
        appendTyped('a', 'f', 'a' - 'A');
        break;
    default:
        appendClickedKey(10, 11);
        appendTyped('0', '1');
        break;
    }
    removeOnBack();
}

} // namespace

void selectField() {
    if (hoverTarget >= 1 && hoverTarget <= 3 && clicked()) {
        InputMode = hoverTarget;
    }
    const Field &field = fieldTable[InputMode];
    editText = *field.text;
    fieldRowY = field.rowY;
    keypadKeyCount = field.keyCount;
}

void editStep() {
    if (typedChar == copyChar) {
        copyActiveField(); // below the gate: nothing else changes
    }
    if (typedChar <= 7 && !clicked()) {
        return;
    }
    applyEditActions();
    const Field &field = fieldTable[InputMode];
    if (editText.size() > field.limit) {
        editText.resize(field.limit); // the newest characters go
    }
    for (int mode = 1; mode <= 3; ++mode) {
        if (mode == InputMode) {
            *fieldTable[mode].text = editText;
        } else {
            fieldTable[mode].text->clear(); // refilled by the conversion below
        }
    }
    convertEditText(InputMode);
}

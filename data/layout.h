// Where things are in the window, each fact once: the table of the three
// field rows and the places of the keypad keys and the two buttons. Drawing,
// pointer tests and editing all read them from here, so moving a row or a
// key is a change of one line.
#pragma once

#include "data/palette.h"
#include "data/state.h"

#include <cstddef>
#include <string>

inline constexpr int fieldBoxLeft = 130;

// One field row. Its box spans fieldWidth from fieldBoxLeft and is 22 high;
// the active row's fill and the pointer's row region follow it.
struct Field {
    std::string *text;      // what the row shows
    int fieldRowY;          // top of the box
    int textDrop;           // the text line's top below fieldRowY
    int fieldWidth;         // box width, and the widest text the cursor is drawn after
    ALLEGRO_FONT **font;    // of the text and its cursor
    int keypadKeyCount;     // keys raised while the row is active
    std::size_t digitLimit; // longest text the row keeps
    const char *codeMarker; // what a program's source writes before the digits
};

// Indexed by InputMode; entry 0 belongs to no field.
inline constexpr Field fieldTable[4] = {
    {nullptr, 0, 0, 0, nullptr, 0, 0, ""},
    {&decimalText, 35, 0, 150, &fontLarge, 10, 10, ""},
    {&hexText, 63, 0, 150, &fontLarge, 16, 8, "0x"},
    {&binaryText, 91, 1, 333, &fontMedium, 2, 32, "0b"},
};

// The keypad: sixteen keys on one row, 21 pixels wide and 27 apart.
inline constexpr int keypadKeys = 16;
inline constexpr int keyTop = 125;
inline constexpr int keyPitch = 27;

// Left edge of keypad key `key`, dim or raised.
constexpr int keyLeft(int key) {
    return 36 + keyPitch * key;
}

// Top edge of button 0 (exit) or 1 (back), beside the first two field rows.
constexpr int buttonTop(int button) {
    return 36 + 28 * button;
}

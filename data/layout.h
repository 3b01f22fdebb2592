// Where things are in the window, each fact once, in the layout's pixels:
// the table of the three field rows, the boxes of the two buttons and the
// sixteen keys, and the codes of what the pointer can be over. Drawing and
// the pointer tests both read them from here, so moving a row, a button or
// a key is a change of one line.
#pragma once

#include "data/palette.h"
#include "data/state.h"

#include <string>

// Corners (x1, y1)-(x2, y2). Drawn, a fill covers x1..x2-1 and y1..y2-1; as
// a pointer region it holds the points with x1 < x <= x2 and y1 < y <= y2.
struct Box {
    int x1, y1, x2, y2;
};

// A raised face's drop shadow: one pixel right and down, and a pixel taller
// still, so that it shows below the face's outline.
constexpr Box dropShadow(const Box &face) {
    return {face.x1 + 1, face.y1 + 1, face.x2 + 1, face.y2 + 2};
}

// What the pointer is over (hoverTarget): 0 nothing, a field row by its
// InputMode, a button, or a keypad key. A button's code also indexes its
// caption in labelTable; codes 6 to 9 never occur.
inline constexpr int targetExitButton = 4;
inline constexpr int targetBackButton = 5;
inline constexpr int targetFirstKey = 10; // key k is targetFirstKey + k

// ---- Field rows ----

inline constexpr int fieldBoxLeft = 130;
inline constexpr int fieldBoxHeight = 22;

// One field row. Its box spans fieldWidth from fieldBoxLeft and is
// fieldBoxHeight high; the active row's fill and the pointer's row region
// follow it.
struct Field {
    std::string *text;   // what the row shows
    ALLEGRO_FONT **font; // of the text and its cursor
    int fieldRowY;       // top of the box
    int textDrop;        // the text line's top below fieldRowY
    int fieldWidth;      // box width, and the widest text the cursor is drawn after
};

// Indexed by InputMode; entry 0 belongs to no field.
inline constexpr Field fieldTable[4] = {
    {nullptr, nullptr, 0, 0, 0},
    {&decimalText, &fontLarge, 35, 0, 150},
    {&hexText, &fontLarge, 63, 0, 150},
    {&binaryText, &fontMedium, 91, 1, 333},
};

// The empty box of row `mode`, filled and outlined in the frame.
constexpr Box fieldBox(int mode) {
    const Field &field = fieldTable[mode];
    return {fieldBoxLeft, field.fieldRowY, fieldBoxLeft + field.fieldWidth,
            field.fieldRowY + fieldBoxHeight};
}
// The active row's fill stops a pixel short of its box's right and bottom.
constexpr Box fieldLit(int mode) {
    const Box box = fieldBox(mode);
    return {box.x1, box.y1, box.x2 - 1, box.y2 - 1};
}

// ---- Buttons: 0 the exit, 1 the back button, beside the first two rows ----

struct Corner {
    int x, y;
};
// The top left corner of each button's face.
inline constexpr Corner buttonCorners[2] = {
    {390, 36},
    {390, 64},
};
inline constexpr int buttonWidth = 73;
inline constexpr int buttonHeight = 20;

constexpr int buttonTop(int button) {
    return buttonCorners[button].y;
}
constexpr Box buttonFace(int button) {
    const Corner corner = buttonCorners[button];
    return {corner.x, corner.y, corner.x + buttonWidth, corner.y + buttonHeight};
}
constexpr Box buttonBevel(int button) {
    const Box face = buttonFace(button);
    return {face.x1 + 2, face.y1 + 1, face.x2 - 1, face.y2 - 1};
}
// The fill under the pointer stops short of the bevel's right and bottom.
constexpr Box buttonLit(int button) {
    const Box face = buttonFace(button);
    return {face.x1, face.y1, face.x2 - 2, face.y2 - 2};
}
// Where a click presses the button: the face but its outline's right
// column and bottom row, and two columns more on the left.
constexpr Box buttonHit(int button) {
    const Box face = buttonFace(button);
    return {face.x1 - 2, face.y1, face.x2 - 2, face.y2 - 1};
}
// The caption's middle; lit, it moves a pixel right and down.
constexpr int buttonCaptionX(int button) {
    return buttonCorners[button].x + 35;
}

// ---- The keypad: sixteen keys on one row, 27 pixels apart ----

inline constexpr int keypadKeys = 16;
inline constexpr int keyTop = 125;
inline constexpr int keyPitch = 27;
inline constexpr int keySize = 21;
inline constexpr int keyCaptionIndent = 3;

// Left edge of keypad key `key`, dim or raised.
constexpr int keyLeft(int key) {
    return 36 + keyPitch * key;
}
constexpr Box keyFace(int key) {
    const int x = keyLeft(key);
    return {x, keyTop, x + keySize, keyTop + keySize};
}
constexpr Box keyBevel(int key) {
    const Box face = keyFace(key);
    return {face.x1 + 1, face.y1 + 1, face.x2 - 1, face.y2 - 1};
}
// The fill under the pointer: inside the bevel, a pixel lower than the face.
constexpr Box keyLit(int key) {
    const Box face = keyFace(key);
    return {face.x1, face.y1 + 1, face.x2 - 2, face.y2 - 1};
}
// Where a click presses the key: the inside of its bevel, edges included.
constexpr Box keyHit(int key) {
    const Box face = keyFace(key);
    return {face.x1, face.y1, face.x2 - 1, face.y2 - 1};
}

// ---- The panel everything stands on ----

// Its face; the drop shadow, the rims and the credit line follow from it.
inline constexpr Box panelFace = {20, 20, 476, 160};

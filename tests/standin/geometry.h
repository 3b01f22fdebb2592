// Where the program draws what, in layout pixels (window pixels at 96 dpi),
// and in which colours: the one place the unit tests, the fuzzer's model
// and the benchmarks take a row, a box, a button, a key or a colour from,
// as tests/e2e/geometry.sh is for the shell tests. The numbers are written
// out here, never read from the program's own tables, so that a wrong entry
// there fails a test. Moving a row or a button is one line below; whatever
// else the tests expect of it follows from that line.
//
// A Spot is a pixel: where a text is drawn from, or where the tests point.
// A Rect is a rectangle as a drawing call is given it, corners (x1, y1) and
// (x2, y2). An Area is where the pointer picks something: every pixel from
// (left, top) to (right, bottom), both ends included.
#pragma once

namespace geometry {

struct Spot {
    int x, y;
};

struct Rect {
    int x1, y1, x2, y2;
};

struct Area {
    int left, top, right, bottom;
};

// Where the tests point at an area: its middle, rounded towards the top left.
constexpr Spot middleOf(const Area &area) {
    return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

constexpr bool holds(const Area &area, int x, int y) {
    return x >= area.left && x <= area.right && y >= area.top && y <= area.bottom;
}

// ---- The window ----

inline constexpr int layoutWidth = 496;
inline constexpr int layoutHeight = 190;

// The raised panel everything stands on: its face, the shadow below and
// right of it, and the bevel just inside its edge.
inline constexpr Rect panelFace = {20, 20, 476, 160};
inline constexpr Rect panelShadow = {panelFace.x1 + 2, panelFace.y1 + 2, panelFace.x2 + 3,
                                     panelFace.y2 + 3};
inline constexpr Rect panelBevel = {panelFace.x1 + 1, panelFace.y1 + 1, panelFace.x2 - 1,
                                    panelFace.y2 - 1};
inline constexpr Spot titleSpot = {layoutWidth / 2, 30};             // centred
inline constexpr Spot creditSpot = {panelFace.x2, panelFace.y2 + 5}; // right-aligned

// ---- Field rows, by InputMode: 1 decimal, 2 hexadecimal, 3 binary ----

inline constexpr int rowYOf[4] = {0, 35, 63, 91};        // the box's top; 0 is no row
inline constexpr int rowWidthOf[4] = {0, 150, 150, 333}; // as wide as its digits need
inline constexpr int textDropOf[4] = {0, 0, 0, 1};       // the value text's top below the box's
inline constexpr int boxLeft = 130;
inline constexpr int boxHeight = 22;
inline constexpr int textX = boxLeft + 3; // value texts and the cursor start inside the box
inline constexpr int labelRight = 120;    // the row's name ends here, its shadow a pixel on
inline constexpr int rowHitLeft = 141;    // the first x at which a click picks a row

// The row's box in the frame, filled and outlined.
constexpr Rect rowBox(int row) {
    return {boxLeft, rowYOf[row], boxLeft + rowWidthOf[row], rowYOf[row] + boxHeight};
}

// The fill that marks the active row, a pixel short of the box's far edges.
constexpr Rect activeFill(int row) {
    const Rect box = rowBox(row);
    return {box.x1, box.y1, box.x2 - 1, box.y2 - 1};
}

constexpr int textY(int row) {
    return rowYOf[row] + textDropOf[row];
}

constexpr int cursorY(int row) {
    return rowYOf[row] - 2;
}

constexpr Spot labelSpot(int row) {
    return {labelRight, rowYOf[row]};
}

constexpr Spot labelShadowSpot(int row) {
    return {labelRight + 1, rowYOf[row] + 1};
}

// From rowHitLeft over the box's width less two pixels, and the box's height
// inside its top and bottom edges.
constexpr Area rowHit(int row) {
    return {rowHitLeft, rowYOf[row] + 1, rowHitLeft + rowWidthOf[row] - 2,
            rowYOf[row] + boxHeight - 1};
}

constexpr Spot rowSpot(int row) {
    return middleOf(rowHit(row));
}

// An empty spot of the panel, away from rows, buttons and keys, where the
// pointer rests over nothing.
inline constexpr Spot restSpot = {60, 110};

// Over the row names, left of where a click picks a row: no row answers.
inline constexpr int overLabelsX = labelRight - 20;

// ---- Buttons 0 (exit) and 1 (back), beside rows 1 and 2 ----

inline constexpr int exitButton = 0;
inline constexpr int backButton = 1;

// The top left corner of each button's face.
inline constexpr Spot buttonCornerOf[2] = {
    {390, 36},
    {390, 64},
};
inline constexpr int buttonWidth = 73;
inline constexpr int buttonHeight = 20;

constexpr Rect buttonFace(int button) {
    const Spot at = buttonCornerOf[button];
    return {at.x, at.y, at.x + buttonWidth, at.y + buttonHeight};
}

constexpr Rect buttonShadow(int button) {
    const Rect face = buttonFace(button);
    return {face.x1 + 1, face.y1 + 1, face.x2 + 1, face.y2 + 2};
}

constexpr Rect buttonBevel(int button) {
    const Rect face = buttonFace(button);
    return {face.x1 + 2, face.y1 + 1, face.x2 - 1, face.y2 - 1};
}

// Centred a pixel below the face's top.
constexpr Spot buttonCaption(int button) {
    const Rect face = buttonFace(button);
    return {face.x1 + 35, face.y1 + 1};
}

// Under the pointer: the lit fill, its caption a pixel right and down.
constexpr Rect buttonLit(int button) {
    const Rect face = buttonFace(button);
    return {face.x1, face.y1, face.x2 - 2, face.y2 - 2};
}

constexpr Spot buttonLitCaption(int button) {
    const Spot caption = buttonCaption(button);
    return {caption.x + 1, caption.y + 1};
}

// From a pixel left of the face to the lit fill's right edge, inside the
// face's top and bottom edges.
constexpr Area buttonHit(int button) {
    const Rect face = buttonFace(button);
    return {face.x1 - 1, face.y1 + 1, face.x2 - 2, face.y2 - 1};
}

constexpr Spot buttonSpot(int button) {
    return middleOf(buttonHit(button));
}

// ---- Keys 0 to F of the keypad, in one row in digit order ----

inline constexpr int keysLeft = 36; // key 0's left edge
inline constexpr int keyPitchX = 27;
inline constexpr int keysTop = 125;
inline constexpr int keySize = 21;

constexpr int keyLeftOf(int key) {
    return keysLeft + keyPitchX * key;
}

// The face, dim or raised; outlined.
constexpr Rect keyFace(int key) {
    return {keyLeftOf(key), keysTop, keyLeftOf(key) + keySize, keysTop + keySize};
}

// Of a raised key: the shadow below and right of the face, the bevel inside it.
constexpr Rect keyShadow(int key) {
    const Rect face = keyFace(key);
    return {face.x1 + 1, face.y1 + 1, face.x2 + 1, face.y2 + 2};
}

constexpr Rect keyBevel(int key) {
    const Rect face = keyFace(key);
    return {face.x1 + 1, face.y1 + 1, face.x2 - 1, face.y2 - 1};
}

constexpr Spot keyCaption(int key) {
    return {keyLeftOf(key) + 3, keysTop};
}

// Under the pointer: the lit fill inside the bevel, the caption a pixel lower.
constexpr Rect keyLit(int key) {
    const Rect face = keyFace(key);
    return {face.x1, face.y1 + 1, face.x2 - 2, face.y2 - 1};
}

constexpr Spot keyLitCaption(int key) {
    return {keyCaption(key).x, keyCaption(key).y + 1};
}

// Inside the face's outline.
constexpr Area keyHit(int key) {
    const Rect face = keyFace(key);
    return {face.x1 + 1, face.y1 + 1, face.x2 - 1, face.y2 - 1};
}

constexpr Spot keySpot(int key) {
    return middleOf(keyHit(key));
}
constexpr int keyX(int key) {
    return keySpot(key).x;
}
inline constexpr int keyY = keySpot(0).y; // the same for every key

// ---- The palette, in the order the program maps it ----

// A colour by the name the drawing rows give it.
struct Colour {
    const char *name;
    unsigned char red, green, blue;
};

inline constexpr Colour palette[9] = {
    {"ink", 0, 50, 50},          {"deepTeal", 0, 80, 80},      {"background", 10, 100, 100},
    {"teal", 30, 130, 130},      {"midTeal", 60, 160, 160},    {"fieldFill", 100, 200, 200},
    {"greyTeal", 140, 160, 160}, {"highlight", 170, 190, 190}, {"accent", 80, 180, 180},
};

} // namespace geometry

# shellcheck shell=bash disable=SC2034 # read by the scripts that source this
# Where the program draws what, in window pixels: the one place the shell
# tests take the window's size, a field row, a button or a key from, so that
# moving one is a change here (and in the pixels frame.sh expects). lib.sh
# sources it. The tables are arrays, which $(( )) reads without starting a
# process. A box "X1 Y1 X2 Y2" holds the pixels with X1 <= x < X2 and
# Y1 <= y < Y2.

WINDOW_WIDTH=496
WINDOW_HEIGHT=190

# Field rows 1 decimal, 2 hexadecimal, 3 binary, each box as wide as its
# digits need. ROW_TOP: the row's first pixel row inside its box (the
# outline lies one above). ROW_BOX: the inside of the box where the text
# stands, up to where the active fill ends. ROW_HIT: where a click picks the
# row.
ROW_WIDTH=([1]=150 [2]=150 [3]=333)
ROW_TOP=() ROW_BOX=() ROW_HIT=()

# Buttons 0 (WYJDŹ, exit) and 1 (COFNIJ, back), beside rows 1 and 2.
# BUTTON_TOP: the face's top edge. BUTTON_HIT: where a click presses it.
BUTTON_TOP=() BUTTON_HIT=()

# Keys 0 to 15 of the keypad, in one row in digit order. KEY_LEFT: the
# face's left edge. KEY_FACE: the raised face; its middle is where the tests
# click. KEY_HIT: where a click presses the key. KEY_LIT: the fill that
# lights the key under the pointer. KEY_BARE_Y: a pixel row of every face
# below its caption.
KEY_COUNT=16
KEY_LEFT=() KEY_FACE=() KEY_HIT=() KEY_LIT=()
KEY_BARE_Y=140

# An empty spot of the panel, away from rows, buttons and keys, where the
# pointer rests so that keys reach the window.
REST_SPOT=(60 110)

geometry_tables() {
    local row top button key left
    for row in 1 2 3; do
        ROW_TOP[row]=$((8 + 28 * row))
        ROW_BOX[row]="131 ${ROW_TOP[row]} $((129 + ROW_WIDTH[row])) $((ROW_TOP[row] + 20))"
        ROW_HIT[row]="141 ${ROW_TOP[row]} $((140 + ROW_WIDTH[row])) $((ROW_TOP[row] + 21))"
    done
    for button in 0 1; do
        top=$((36 + 28 * button))
        BUTTON_TOP[button]=$top
        BUTTON_HIT[button]="389 $((top + 1)) 462 $((top + 20))"
    done
    for ((key = 0; key < KEY_COUNT; key++)); do
        left=$((36 + 27 * key))
        KEY_LEFT[key]=$left
        KEY_FACE[key]="$left 125 $((left + 21)) 146"
        KEY_HIT[key]="$((left + 1)) 126 $((left + 21)) 146"
        KEY_LIT[key]="$left 126 $((left + 19)) 145"
    done
}
geometry_tables

# box_middle BOX: the middle pixel of BOX into MIDDLE_X and MIDDLE_Y.
MIDDLE_X=0 MIDDLE_Y=0
box_middle() {
    local x1 y1 x2 y2
    read -r x1 y1 x2 y2 <<<"$1"
    MIDDLE_X=$(((x1 + x2) / 2)) MIDDLE_Y=$(((y1 + y2) / 2))
}

# shellcheck shell=bash disable=SC2034 # read by the scripts that source this
# Where the program draws what, in window pixels: the one place the shell
# tests take the window's size, a field row, a button or a key from, so that
# moving one is a change of one line here. lib.sh
# sources it. The tables are arrays, which $(( )) reads without starting a
# process. A box "X1 Y1 X2 Y2" holds the pixels with X1 <= x < X2 and
# Y1 <= y < Y2.

WINDOW_WIDTH=496
WINDOW_HEIGHT=190

# The raised panel under everything, as it is filled; its rims and shadow
# run along its edges.
PANEL_FACE='20 20 476 160'

# Field rows 1 decimal, 2 hexadecimal, 3 binary, each box as wide as its
# digits need. ROW_TOP: the row's first pixel row inside its box (the
# outline lies one above). ROW_BOX: the inside of the box where the text
# stands, up to where the active fill ends. ROW_HIT: where a click picks the
# row. ROW_FACE: the box as it is filled and outlined.
ROW_Y=([1]=35 [2]=63 [3]=91) # the top edge of each row's box
ROW_WIDTH=([1]=150 [2]=150 [3]=333)
ROW_TOP=() ROW_BOX=() ROW_HIT=() ROW_FACE=()

# Buttons 0 (WYJDŹ, exit) and 1 (COFNIJ, back), beside rows 1 and 2.
# BUTTON_CORNER: the face's top left corner. BUTTON_TOP: its top edge.
# BUTTON_HIT: where a click presses it. BUTTON_FACE: the face as it is
# filled and outlined.
BUTTON_CORNER=("390 36" "390 64")
BUTTON_TOP=() BUTTON_HIT=() BUTTON_FACE=()

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
    local row top button key left x
    for row in 1 2 3; do
        ROW_TOP[row]=$((ROW_Y[row] + 1))
        ROW_BOX[row]="131 ${ROW_TOP[row]} $((129 + ROW_WIDTH[row])) $((ROW_TOP[row] + 20))"
        ROW_HIT[row]="141 ${ROW_TOP[row]} $((140 + ROW_WIDTH[row])) $((ROW_TOP[row] + 21))"
        ROW_FACE[row]="130 ${ROW_Y[row]} $((130 + ROW_WIDTH[row])) $((ROW_Y[row] + 22))"
    done
    for button in 0 1; do
        read -r x top <<<"${BUTTON_CORNER[button]}"
        BUTTON_TOP[button]=$top
        BUTTON_HIT[button]="$((x - 1)) $((top + 1)) $((x + 72)) $((top + 20))"
        BUTTON_FACE[button]="$x $top $((x + 73)) $((top + 20))"
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

# At a desktop scale (Xft.dpi over 96) the program draws layout pixel c at
# window pixel round(c * scale), and the pointer maps back the same way, so
# a box's window pixels run from its scaled X1 to its scaled X2. What
# geometry_tables does not make is kept at 96 dpi here, so that
# geometry_scale may be called again.
LAYOUT_WIDTH=$WINDOW_WIDTH LAYOUT_HEIGHT=$WINDOW_HEIGHT LAYOUT_BARE_Y=$KEY_BARE_Y
LAYOUT_REST_SPOT="${REST_SPOT[*]}" LAYOUT_PANEL_FACE=$PANEL_FACE
GEOMETRY_MILLI=1000 # the scale in thousandths
SCALED=0 SCALED_BOX=''

# scale_coordinate C: C at the scale into SCALED, rounded half away from
# zero as the program rounds.
scale_coordinate() { SCALED=$(((2 * $1 * GEOMETRY_MILLI + 1000) / 2000)); }

# scale_box BOX: BOX at the scale into SCALED_BOX.
scale_box() {
    local corner scaled=()
    for corner in $1; do
        scale_coordinate "$corner"
        scaled+=("$SCALED")
    done
    SCALED_BOX=${scaled[*]}
}

# geometry_scale SCALE (1, 1.5, 2, ...): every position above in window
# pixels at that scale, the window's size included. lib.sh's own margins
# around a row (the band e2e_settle ignores) stay as at 96 dpi, so a test at
# a scale waits for what it checks rather than with e2e_settle.
geometry_scale() {
    local whole=${1%%.*} fraction=000 row button key
    [[ $1 != *.* ]] || fraction=${1#*.}000
    GEOMETRY_MILLI=$((10#$whole * 1000 + 10#${fraction:0:3}))
    geometry_tables
    scale_coordinate "$LAYOUT_WIDTH" && WINDOW_WIDTH=$SCALED
    scale_coordinate "$LAYOUT_HEIGHT" && WINDOW_HEIGHT=$SCALED
    scale_coordinate "$LAYOUT_BARE_Y" && KEY_BARE_Y=$SCALED
    scale_box "$LAYOUT_REST_SPOT" && read -ra REST_SPOT <<<"$SCALED_BOX"
    scale_box "$LAYOUT_PANEL_FACE" && PANEL_FACE=$SCALED_BOX
    for row in 1 2 3; do
        scale_coordinate "${ROW_TOP[row]}" && ROW_TOP[row]=$SCALED
        scale_box "${ROW_BOX[row]}" && ROW_BOX[row]=$SCALED_BOX
        scale_box "${ROW_HIT[row]}" && ROW_HIT[row]=$SCALED_BOX
        scale_box "${ROW_FACE[row]}" && ROW_FACE[row]=$SCALED_BOX
    done
    for button in 0 1; do
        scale_coordinate "${BUTTON_TOP[button]}" && BUTTON_TOP[button]=$SCALED
        scale_box "${BUTTON_HIT[button]}" && BUTTON_HIT[button]=$SCALED_BOX
        scale_box "${BUTTON_FACE[button]}" && BUTTON_FACE[button]=$SCALED_BOX
    done
    for ((key = 0; key < KEY_COUNT; key++)); do
        scale_coordinate "${KEY_LEFT[key]}" && KEY_LEFT[key]=$SCALED
        scale_box "${KEY_FACE[key]}" && KEY_FACE[key]=$SCALED_BOX
        scale_box "${KEY_HIT[key]}" && KEY_HIT[key]=$SCALED_BOX
        scale_box "${KEY_LIT[key]}" && KEY_LIT[key]=$SCALED_BOX
    done
}

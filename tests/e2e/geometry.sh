# shellcheck shell=bash disable=SC2034 # read by the scripts that source this
# Where the program draws what, in window pixels: the one place the shell
# tests take the window's size, a field row, a button or a key from, so that
# moving one is a change of one line here. lib.sh
# sources it. The tables are arrays, which $(( )) reads without starting a
# process. A box "X1 Y1 X2 Y2" holds the pixels with X1 <= x < X2 and
# Y1 <= y < Y2.

WINDOW_WIDTH=496
WINDOW_HEIGHT=190

# The palette, each colour "R G B" as a screenshot gives it, under the
# program's names for it.
COLOR_INK='0 50 50'
COLOR_DEEP_TEAL='0 80 80'
COLOR_BACKGROUND='10 100 100'
COLOR_TEAL='30 130 130'
COLOR_MID_TEAL='60 160 160'
COLOR_FIELD_FILL='100 200 200'
COLOR_GREY_TEAL='140 160 160'
COLOR_HIGHLIGHT='170 190 190'
COLOR_ACCENT='80 180 180'

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
ROW_LEFT=130     # every row's box starts here
ROW_HEIGHT=22    # and is this high
ROW_HIT_LEFT=141 # the first x at which a click picks a row
LABEL_RIGHT=120  # a row's name is right-aligned here
ROW_TOP=() ROW_BOX=() ROW_HIT=() ROW_FACE=()

# Buttons 0 (WYJDŹ, exit) and 1 (COFNIJ, back), beside rows 1 and 2.
# BUTTON_CORNER: the face's top left corner. BUTTON_TOP: its top edge.
# BUTTON_HIT: where a click presses it. BUTTON_FACE: the face as it is
# filled and outlined.
BUTTON_CORNER=("390 36" "390 64")
BUTTON_WIDTH=73
BUTTON_HEIGHT=20
BUTTON_TOP=() BUTTON_HIT=() BUTTON_FACE=()

# Keys 0 to 15 of the keypad, in one row in digit order. KEY_LEFT: the
# face's left edge. KEY_FACE: the raised face; its middle is where the tests
# click. KEY_HIT: where a click presses the key. KEY_LIT: the fill that
# lights the key under the pointer. KEY_BARE_Y: a pixel row of every face
# below its caption.
KEY_COUNT=16
KEY_FIRST_LEFT=36 # key 0's left edge
KEY_PITCH=27
KEY_TOP=125
KEY_SIZE=21
KEY_LEFT=() KEY_FACE=() KEY_HIT=() KEY_LIT=()
KEY_BARE_Y=$((KEY_TOP + 15))

# An empty spot of the panel, away from rows, buttons and keys, where the
# pointer rests so that keys reach the window.
REST_SPOT=(60 110)

geometry_tables() {
    local row top bottom button key left x
    for row in 1 2 3; do
        ROW_TOP[row]=$((ROW_Y[row] + 1))
        bottom=$((ROW_Y[row] + ROW_HEIGHT))
        ROW_BOX[row]="$((ROW_LEFT + 1)) ${ROW_TOP[row]} $((ROW_LEFT + ROW_WIDTH[row] - 1)) $((bottom - 1))"
        ROW_HIT[row]="$ROW_HIT_LEFT ${ROW_TOP[row]} $((ROW_HIT_LEFT + ROW_WIDTH[row] - 1)) $bottom"
        ROW_FACE[row]="$ROW_LEFT ${ROW_Y[row]} $((ROW_LEFT + ROW_WIDTH[row])) $bottom"
    done
    for button in 0 1; do
        read -r x top <<<"${BUTTON_CORNER[button]}"
        BUTTON_TOP[button]=$top
        BUTTON_HIT[button]="$((x - 1)) $((top + 1)) $((x + BUTTON_WIDTH - 1)) $((top + BUTTON_HEIGHT))"
        BUTTON_FACE[button]="$x $top $((x + BUTTON_WIDTH)) $((top + BUTTON_HEIGHT))"
    done
    for ((key = 0; key < KEY_COUNT; key++)); do
        left=$((KEY_FIRST_LEFT + KEY_PITCH * key))
        bottom=$((KEY_TOP + KEY_SIZE))
        KEY_LEFT[key]=$left
        KEY_FACE[key]="$left $KEY_TOP $((left + KEY_SIZE)) $bottom"
        KEY_HIT[key]="$((left + 1)) $((KEY_TOP + 1)) $((left + KEY_SIZE)) $bottom"
        KEY_LIT[key]="$left $((KEY_TOP + 1)) $((left + KEY_SIZE - 2)) $((bottom - 1))"
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

#!/bin/bash
# The window at a desktop's scale, 200 % (Xft.dpi 192) and 150 % (144): its
# size, the values it shows after typing, the key lit under the pointer up
# to the last pixel of the key's scaled place, a click on a key, and Escape.
# The click is checked against typing, pixel for pixel: OCR reads the typed
# value.
# Positions are geometry.sh's, turned into window pixels by geometry_scale.
# Usage: scale.sh PROGRAM XSEND
set -eu
. "$(dirname "$0")/lib.sh"
e2e_begin 100 "$2" "$@"
PROGRAM=$1
# Room for the window at 200 %: on a smaller screen the program cuts the scale.
e2e_start_xvfb_sized 1280x1024

FACE=$COLOR_GREY_TEAL
LIT=$COLOR_HIGHLIGHT

# Rows 2 and 3 in kept shot NAME and the last shot agree.
rows_equal() { e2e_band_equal 2 "$1" "$E2E_LAST_SHOT" && e2e_band_equal 3 "$1" "$E2E_LAST_SHOT"; }
rows_differ_from() { e2e_shot && e2e_kept "$1" && ! rows_equal "$E2E_FILE"; }
rows_steady() {
    local previous=$E2E_LAST_SHOT
    sleep 0.1
    e2e_new_shot
    rows_equal "$previous" && previous=$E2E_LAST_SHOT && sleep 0.1 && e2e_new_shot && rows_equal "$previous"
}

# Waits until the inactive rows 2 and 3 change from the mark, then until
# three shots 0.1 s apart agree there: every key typed has been drawn. (The
# active decimal row blinks, and at a scale it reaches past the band that
# e2e_settle leaves out.)
rows_settle() {
    e2e_wait_for 5 rows_differ_from mark || e2e_fail "$1: rows 2 and 3 did not change within 5 s"
    e2e_wait_for 5 rows_steady || e2e_fail "$1: rows 2 and 3 did not settle within 5 s"
}

# Whether key K's face shows COLOUR in its middle column below the caption.
face_is() {
    box_middle "${KEY_FACE[$1]}"
    e2e_pixel_is "$MIDDLE_X" "$KEY_BARE_Y" "$2"
}

# The pointer to X Y; waits until key 7 is lit (lit) or not (dark) there.
expect_key7() {
    local colour=$LIT
    [ "$3" = lit ] || colour=$FACE
    e2e_pointer "$1" "$2"
    e2e_wait_for 5 face_is 7 "$colour" ||
        e2e_fail "pointer at ($1,$2): key 7's face is ($E2E_ANSWER), want $3 ($colour)"
}

# How many pixels of key 7's lit box have the lit colour, of how many.
lit_pixels() {
    local x1 y1 x2 y2
    e2e_new_shot
    read -r LIT_COUNT _ < <(echo "${KEY_LIT[7]} $LIT" | e2e_measure "$E2E_LAST_SHOT")
    read -r x1 y1 x2 y2 <<<"${KEY_LIT[7]}"
    LIT_AREA=$(((x2 - x1) * (y2 - y1)))
}

for setting in "${E2E_DESKTOP_SCALES[@]}"; do
    e2e_desktop_scale "$setting"

    e2e_say "at $DPI dpi the window opens at ${WINDOW_WIDTH}x$WINDOW_HEIGHT"
    e2e_start "$PROGRAM"
    e2e_expect_window_size

    e2e_say "at $DPI dpi, 48879 typed in decimal shows BEEF and 1011111011101111"
    e2e_mark
    e2e_type 48879
    rows_settle "48879 at $DPI dpi"
    e2e_note "typed-$DPI" "48879 typed at $DPI dpi" 2:BEEF 3:1011111011101111

    e2e_say "at $DPI dpi key 7 is dark with the pointer at rest, lit under it"
    box_middle "${KEY_FACE[7]}"
    middle_x=$MIDDLE_X middle_y=$MIDDLE_Y
    lit_pixels
    [ "$((LIT_COUNT * 100))" -lt "$((LIT_AREA * 40))" ] ||
        e2e_fail "at rest $LIT_COUNT of key 7's $LIT_AREA lit-box pixels are lit"
    expect_key7 "$middle_x" "$middle_y" lit
    lit_pixels
    [ "$((LIT_COUNT * 100))" -ge "$((LIT_AREA * 85))" ] ||
        e2e_fail "under the pointer only $LIT_COUNT of key 7's $LIT_AREA lit-box pixels are lit"
    e2e_wait_for 5 face_is 6 "$FACE" || e2e_fail "key 6 beside the pointer is ($E2E_ANSWER), want $FACE"
    e2e_wait_for 5 face_is 8 "$FACE" || e2e_fail "key 8 beside the pointer is ($E2E_ANSWER), want $FACE"

    e2e_say "at $DPI dpi key 7 lights from the first to the last pixel of its scaled place"
    read -r x1 y1 x2 y2 <<<"${KEY_HIT[7]}"
    expect_key7 $((x1 - 1)) "$middle_y" dark
    expect_key7 "$x1" "$middle_y" lit
    expect_key7 "$x2" "$middle_y" dark
    expect_key7 $((x2 - 1)) "$middle_y" lit
    expect_key7 "$middle_x" $((y1 - 1)) dark
    expect_key7 "$middle_x" "$y1" lit
    expect_key7 "$middle_x" "$y2" dark
    expect_key7 "$middle_x" $((y2 - 1)) lit

    e2e_say "at $DPI dpi a click in the middle of key 7 appends one 7, as typing 7 does"
    e2e_mark
    e2e_click_until "$middle_x" "$middle_y" rows_differ_from mark ||
        e2e_fail "a click on key 7 at ($middle_x,$middle_y) changed nothing"
    e2e_wait_for 5 rows_steady || e2e_fail "rows 2 and 3 did not settle within 5 s of the click"
    e2e_keep_shot "clicked-$DPI"
    e2e_mark
    e2e_key BackSpace
    rows_settle "backspace after the click at $DPI dpi"
    rows_equal "${E2E_KEPT[typed-$DPI]}" || e2e_fail "backspace after the click did not bring back 48879"
    e2e_mark
    e2e_type 7
    rows_settle "7 typed after the backspace at $DPI dpi"
    rows_equal "${E2E_KEPT[clicked-$DPI]}" ||
        e2e_fail "rows 2 and 3 differ between key 7 clicked and 7 typed after 48879"

    e2e_say "at $DPI dpi Escape ends the program with status 0 and no output"
    e2e_key Escape
    e2e_expect_exit 5 0 "Escape at $DPI dpi"
    e2e_expect_quiet

    e2e_say "the texts noted at $DPI dpi read back right"
    e2e_check_texts
    E2E_NOTES=() # the next scale's boxes are elsewhere
done
echo "scale: all checks passed"

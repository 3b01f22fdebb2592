#!/bin/bash
# The on-screen keypad clicked as a person clicks: the raised keys follow the
# active field, the key under a resting pointer lights up and goes dark
# while the button is held, clicks on raised keys type their digit and a
# click on a dim key does nothing.
# Usage: keypad.sh PROGRAM XSEND
set -eu
. "$(dirname "$0")/lib.sh"
e2e_open 100 "$@"
e2e_start "$PROGRAM"

PANEL=$COLOR_TEAL
FACE=$COLOR_GREY_TEAL
LIT=$COLOR_HIGHLIGHT

# Where the tests click key K: the middle of its face, into KEY_X and KEY_Y.
key_middle() { box_middle "${KEY_FACE[$1]}" && KEY_X=$MIDDLE_X KEY_Y=$MIDDLE_Y; }

# Waits until the faces of the keys in "KEY raised|dim|lit" pairs show those
# colours, read in their middle column below the caption.
expect_faces() {
    local what=$1 coordinates=() wanted=() joined
    shift
    while [ "$#" -gt 0 ]; do
        box_middle "${KEY_FACE[$1]}"
        coordinates+=("$MIDDLE_X" "$KEY_BARE_Y")
        case $2 in
        raised) wanted+=("$FACE") ;;
        dim) wanted+=("$PANEL") ;;
        lit) wanted+=("$LIT") ;;
        esac
        shift 2
    done
    joined=$(IFS=, && echo "${wanted[*]}")
    e2e_wait_for 5 faces_are "$joined" "${coordinates[@]}" ||
        e2e_fail "$what: key faces are ($E2E_ANSWER), want ($joined)"
}
faces_are() { e2e_xs pixels "$E2E_WID" "${@:2}" && [ "$E2E_ANSWER" = "$1" ]; }

# Clicks key K until ROW, inactive, shows something else than before.
click_key() {
    local key=$1 row=$2
    key_middle "$key"
    e2e_new_shot
    e2e_keep_shot before-click
    e2e_click_until "$KEY_X" "$KEY_Y" row_changed "$row" ||
        e2e_fail "a click on key $key changed nothing in row $row"
}

row_changed() { e2e_shot && e2e_kept before-click && ! e2e_band_equal "$1" "$E2E_FILE" "$E2E_LAST_SHOT"; }

e2e_say "decimal mode raises keys 0 to 9; A to F stay dim"
expect_faces "decimal mode" 0 raised 9 raised 10 dim 15 dim

e2e_say "hexadecimal mode raises all sixteen keys"
e2e_arrow_to Down 2
expect_faces "hexadecimal mode" 0 raised 9 raised 10 raised 15 raised

e2e_say "the key under a resting pointer is lit, its neighbours not"
key_middle 3
e2e_pointer "$KEY_X" "$KEY_Y"
expect_faces "pointer on key 3" 2 raised 3 lit 4 raised
e2e_new_shot
read -r lit _ < <(echo "${KEY_LIT[3]} $LIT" | e2e_measure "$E2E_LAST_SHOT")
[ "$lit" -ge 250 ] || e2e_fail "only $lit pixels of key 3's face are lit"

e2e_say "while the button is held the key is not lit; on release it types its digit"
e2e_keep_shot before-click
e2e_press_button "$KEY_X" "$KEY_Y"
expect_faces "button held on key 3" 3 raised
e2e_release_button
e2e_wait_for 5 row_changed 1 || e2e_fail "the press on key 3 typed nothing"
expect_faces "pointer still on key 3 after the click" 3 lit
e2e_settle 2
e2e_note key-3 "click on key 3 in hexadecimal mode" 1:3 3:11
e2e_rest_pointer
e2e_key BackSpace
e2e_expect_row_empty 1 "decimal after backspace on hexadecimal 3"

e2e_say "in hexadecimal mode keys F, F give FF, 255 and 11111111"
click_key 15 1
click_key 15 1
e2e_settle 2
e2e_note key-ff "keys F, F in hexadecimal mode" 1:255 3:11111111
e2e_arrow_to Up 1
e2e_settle 1
e2e_note key-ff-inactive "keys F, F in hexadecimal mode" 2:FF

e2e_say "binary mode raises keys 0 and 1 only"
e2e_arrow_to Up 3
expect_faces "binary mode" 0 raised 1 raised 2 dim 5 dim 15 dim

e2e_say "in binary mode the dim key 5 neither lights nor types; key 0 does"
key_middle 5
e2e_pointer "$KEY_X" "$KEY_Y"
sleep 0.3
expect_faces "pointer on the dim key 5" 5 dim
e2e_new_shot
e2e_keep_shot before-five
e2e_click "$KEY_X" "$KEY_Y"
e2e_rest_pointer
sleep 0.3
e2e_new_shot
e2e_band_equal 1 "${E2E_KEPT[before-five]}" "$E2E_LAST_SHOT" ||
    e2e_fail "a click on the dim key 5 changed the decimal row"
# Had the click on 5 typed anything, 0 would not come to make 510.
click_key 0 1
e2e_settle 3
e2e_note key-0 "dim key 5, then key 0, on binary 11111111" 1:510 2:1FE

e2e_key Escape
e2e_expect_exit 5 0 "Escape after the keypad"

e2e_say "the texts noted on the way read back right"
e2e_check_texts
echo "keypad: all checks passed"

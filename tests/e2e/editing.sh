#!/bin/bash
# Editing from the keyboard as a person types: the arrow keys, digits in all
# three notations, the length limits and the decimal clamp, backspace and the
# back button, a click on a row, and a held digit key.
#
# Texts are checked two ways: read back with OCR, and compared pixel for
# pixel with the same box showing the same number reached another way.
# Only inactive rows are read; the active one holds the blinking cursor.
# Usage: editing.sh PROGRAM XSEND   (E2E_SHOTS_DIR=dir keeps a picture of 255)
set -eu
. "$(dirname "$0")/lib.sh"
e2e_open 150 "$@"
e2e_start "$PROGRAM"

ONES32=11111111111111111111111111111111

e2e_say "the arrow keys, pressed ${E2E_ARROW_HOLD} s, move the active box one row down and up, wrapping"
e2e_wait_for 5 e2e_active_is 1 || e2e_fail "at start the active row is $E2E_ACTIVE, want 1 (0: none or several)"
e2e_arrow_to Down 2
e2e_arrow_to Down 3
e2e_arrow_to Down 1
e2e_arrow_to Up 3
e2e_arrow_to Up 2
e2e_arrow_to Up 1

# Down held 1.2 s: a step at once, then none for 45 passes (at least 0.45 s,
# each pass resting 0.01 s), then a step a pass. The active row is polled
# while it is held; each change is noted with the time it was seen. A
# machine too busy for 45 passes in 1.2 s gets the key held on, up to 4 s,
# until the repeat comes.
e2e_say "Down held 1.2 s steps at once, then repeats after about half a second"
changes=()
from=1
e2e_xdo keydown Down
e2e_now
pressed=$E2E_NOW
while [ $((E2E_NOW - pressed)) -lt 1200 ] ||
    { [ "${#changes[@]}" -lt 2 ] && [ $((E2E_NOW - pressed)) -lt 4000 ]; }; do
    if e2e_active_row && [ "$E2E_ACTIVE" != 0 ] && [ "$E2E_ACTIVE" != "$from" ]; then
        e2e_now
        changes+=("$E2E_NOW")
        from=$E2E_ACTIVE
    fi
    e2e_now
done
e2e_xdo keyup Down
[ "${#changes[@]}" -ge 2 ] ||
    e2e_fail "Down held 4 s moved the active row ${#changes[@]} times, want a step and repeats"
gap=$((changes[1] - changes[0]))
[ "$gap" -ge 300 ] || e2e_fail "Down held repeated ${gap} ms after its first step, want about 500"
e2e_say "held: ${#changes[@]} steps seen in $((E2E_NOW - pressed)) ms, the second ${gap} ms after the first"
sleep 0.3
e2e_active_row
case $E2E_ACTIVE in
2) e2e_arrow_to Up 1 ;;
3) e2e_arrow_to Down 1 ;;
esac

e2e_say "binary 101 shows 5 and 5; the digit 2 is refused there"
e2e_arrow_to Up 3
e2e_mark
e2e_type 101
e2e_checkpoint 3 five "binary 101" 1:5 2:5
e2e_mark
e2e_type 21
e2e_checkpoint 3 eleven "binary 101, then 2 and 1" 1:11 2:B
e2e_press BackSpace 4
e2e_expect_row_empty 1 "decimal after the binary text was deleted"

e2e_say "decimal 255 shows FF and 11111111"
e2e_arrow_to Down 1
e2e_mark
e2e_type 255
e2e_checkpoint 1 decimal-255 "decimal 255" 2:FF 3:11111111
if [ -n "${E2E_SHOTS_DIR:-}" ]; then
    e2e_magick 10 convert "$E2E_LAST_SHOT" "$E2E_SHOTS_DIR/e2e-255.png"
fi
e2e_arrow_to Down 2
e2e_checkpoint 2 decimal-255-inactive "decimal 255, seen from the hexadecimal row" 1:255
e2e_arrow_to Up 1

e2e_say "backspace and a click on COFNIJ delete the last digit"
e2e_mark
e2e_key BackSpace
e2e_checkpoint 1 decimal-25 "backspace on 255" 2:19 3:11001
e2e_mark
e2e_type 4
e2e_checkpoint 1 decimal-254 "25, then 4" 2:FE 3:11111110
e2e_expect_row other 2 decimal-255 decimal-254 "hexadecimal of 255 and of 254"
e2e_expect_row other 2 decimal-255 five "hexadecimal of 255 and of 5"
box_middle "${BUTTON_HIT[1]}"
e2e_click_until "$MIDDLE_X" "$MIDDLE_Y" e2e_shot_band_like 2 decimal-25 ||
    e2e_fail "a click on COFNIJ did not turn 254 into 25"
e2e_expect_row_like 3 decimal-25 "binary after COFNIJ on 254"
e2e_type 5
e2e_expect_row_like 2 decimal-255 "hexadecimal of 255 typed again"
e2e_expect_row_like 3 decimal-255 "binary of 255 typed again"
e2e_press BackSpace 3
e2e_expect_row_empty 2 "hexadecimal after deleting 255"

e2e_say "a digit key held 400 ms types its digit once"
e2e_mark
e2e_hold_key 7 0.4
e2e_type 8
e2e_checkpoint 1 held "7 held, then 8" 2:4E 3:1001110
e2e_press BackSpace 2
e2e_expect_row_empty 2 "hexadecimal after deleting 78"

e2e_say "a typed decimal 0 is blanked at once; hexadecimal keeps its leading zeros"
e2e_mark
e2e_type 07
e2e_checkpoint 1 zero-seven "decimal 0, then 7" 2:7 3:111
e2e_arrow_to Down 2
e2e_checkpoint 2 zero-seven-inactive "decimal 0, then 7" 1:7
e2e_key BackSpace
e2e_expect_row_empty 1 "decimal after deleting hexadecimal 7"
e2e_mark
e2e_type 00a
e2e_checkpoint 2 hex-00a "hexadecimal 00a" 1:10 3:1010
e2e_arrow_to Up 1
e2e_checkpoint 1 hex-00a-inactive "hexadecimal 00a" 2:00A
e2e_press BackSpace 2
e2e_expect_row_empty 2 "hexadecimal after deleting decimal 10"

e2e_say "an eleventh decimal digit is refused"
# Had the eleventh digit been kept, the clamp would show 4294967295 and
# backspace would leave 429496729, 19999999 in hexadecimal.
e2e_mark
e2e_type 12345678901
e2e_key BackSpace
e2e_checkpoint 1 eleven-digits "eleven digits, then backspace" 2:75BCD15
e2e_press BackSpace 9
e2e_expect_row_empty 2 "hexadecimal after deleting 123456789"

e2e_say "4294967296 is clamped to 4294967295, FFFFFFFF and 32 ones"
e2e_mark
e2e_type 4294967296
e2e_checkpoint 1 clamped "decimal 4294967296" 2:FFFFFFFF 3:$ONES32
e2e_arrow_to Down 2
e2e_checkpoint 2 decimal-max "decimal 4294967296, seen from the hexadecimal row" 1:4294967295

e2e_say "a ninth hexadecimal digit is refused"
e2e_mark
e2e_type A
e2e_key BackSpace
e2e_checkpoint 2 nine-hex "A and backspace on FFFFFFFF" 1:268435455
e2e_press BackSpace 7
e2e_expect_row_empty 1 "decimal after deleting the hexadecimal text"

e2e_say "hexadecimal ff typed in lower case shows the boxes of decimal 255"
e2e_type ff
e2e_expect_row_like 1 decimal-255-inactive "decimal of hexadecimal ff"
e2e_expect_row_like 3 decimal-255 "binary of hexadecimal ff"
e2e_arrow_to Up 1
e2e_expect_row_like 2 decimal-255 "hexadecimal ff, inactive"
e2e_keep_shot hex-ff
e2e_expect_row same 2 decimal-255 hex-ff "hexadecimal FF from decimal 255 and typed as ff"
e2e_expect_row other 2 decimal-254 hex-ff "hexadecimal FE and FF"

e2e_say "hexadecimal FFFFFFFF shows the boxes of the clamped decimal"
e2e_arrow_to Down 2
e2e_type FFFFFF
e2e_expect_row_like 1 decimal-max "decimal of FFFFFFFF"
e2e_expect_row_like 3 decimal-max "binary of FFFFFFFF"
e2e_keep_shot hex-max
e2e_expect_row other 1 decimal-255-inactive hex-max "decimal 255 and 4294967295"

e2e_say "a click on a row makes it the active one"
e2e_pick_row 3
e2e_pick_row 1
e2e_pick_row 2
e2e_expect_row_like 1 decimal-max "decimal after the row clicks"
e2e_expect_row_like 3 decimal-max "binary after the row clicks"

e2e_say "Escape ends the program with status 0"
e2e_key Escape
e2e_expect_exit 5 0 "Escape after editing"

e2e_say "the texts noted on the way read back right"
e2e_check_texts
echo "editing: all checks passed"

#!/bin/bash
# The still picture: exact colours where the frame is solid, the labels and
# captions where they belong and nothing where no text stands, the lit exit
# button under the pointer, and the click on it that ends the program.
# Usage: frame.sh PROGRAM XSEND
set -eu
. "$(dirname "$0")/lib.sh"
e2e_open 100 "$@"
e2e_start "$PROGRAM"

CLEAR=$COLOR_BACKGROUND
PANEL=$COLOR_TEAL
SHADOW=$COLOR_DEEP_TEAL
BOX=$COLOR_MID_TEAL
ACTIVE=$COLOR_FIELD_FILL
FACE=$COLOR_GREY_TEAL
BEVEL=$COLOR_HIGHLIGHT
ACCENT=$COLOR_ACCENT
INK=$COLOR_INK

e2e_settle 1
shot=$E2E_LAST_SHOT

# The panel's face (PX1 PY1)-(PX2 PY2); the buttons' faces' corners: exit
# EX EY, back BX BY; a row's box, inside its outline, into RX1 RY1 RX2 RY2
# with its middle in MIDDLE_X MIDDLE_Y.
read -r PX1 PY1 PX2 PY2 <<<"$PANEL_FACE"
read -r EX EY <<<"${BUTTON_CORNER[0]}"
read -r BX BY <<<"${BUTTON_CORNER[1]}"
inside_row() {
    read -r RX1 RY1 RX2 RY2 <<<"${ROW_BOX[$1]}"
    box_middle "${ROW_BOX[$1]}"
}

e2e_say "solid parts of the frame have their exact colours"
{
    cat <<EOF
$((PX1 / 4)) $((PY1 / 4)) $CLEAR background top left
$((WINDOW_WIDTH - 6)) $((WINDOW_HEIGHT - 5)) $CLEAR background bottom right
$((WINDOW_WIDTH / 2)) $((PY2 + 15)) $CLEAR background below the panel
300 $(((ROW_Y[3] + ROW_HEIGHT + KEY_TOP) / 2)) $PANEL panel face between rows and keys
$((PX1 + 5)) $((PY2 - 10)) $PANEL panel face bottom left
$((WINDOW_WIDTH / 2)) $((PY1 + 5)) $PANEL panel face top
$((PX2 + 1)) $((PY2 + 1)) $SHADOW panel shadow corner
$((PX2 + 2)) $(((PY1 + PY2) / 2)) $SHADOW panel shadow right
100 $((PY2 + 2)) $SHADOW panel shadow bottom
EOF
    inside_row 2
    cat <<EOF
$MIDDLE_X $MIDDLE_Y $BOX inactive hexadecimal box
$RX1 $MIDDLE_Y $BOX hexadecimal box, left end
$((RX2 - 1)) $MIDDLE_Y $BOX hexadecimal box, right end
$((RX2 + 4)) $MIDDLE_Y $PANEL panel right of the hexadecimal box
EOF
    inside_row 3
    cat <<EOF
$MIDDLE_X $MIDDLE_Y $BOX inactive binary box
$((RX2 - 1)) $MIDDLE_Y $BOX binary box, right end
EOF
    inside_row 1
    cat <<EOF
$MIDDLE_X $MIDDLE_Y $ACTIVE active decimal box
$((RX2 - 4)) $((RY2 - 4)) $ACTIVE active decimal box, far corner
$((EX + 5)) $((EY + 10)) $FACE exit button face, left
$((EX + BUTTON_WIDTH - 8)) $((EY + 10)) $FACE exit button face, right
$((BX + 5)) $((BY + 10)) $FACE back button face, left
$((BX + BUTTON_WIDTH - 8)) $((BY + 10)) $FACE back button face, right
$((EX + 1)) $((EY + 10)) $BEVEL exit button bevel, left
$((EX + BUTTON_WIDTH - 2)) $((EY + 10)) $BEVEL exit button bevel, right
$((BX + 1)) $((BY + 10)) $BEVEL back button bevel, left
$((EX + BUTTON_WIDTH)) $((EY + 10)) $CLEAR exit button shadow, right
$((EX + 30)) $((EY + BUTTON_HEIGHT + 1)) $CLEAR exit button shadow, bottom
$((KEY_LEFT[0] + KEY_SIZE)) $((KEY_TOP + 10)) $CLEAR key 0 shadow, right
$((KEY_LEFT[0] + 10)) $((KEY_TOP + KEY_SIZE + 1)) $CLEAR key 0 shadow, bottom
EOF
    # Ten raised keys in decimal mode; the six letters only dim outlines.
    for ((key = 0; key < KEY_COUNT; key++)); do
        if [ "$key" -lt 10 ]; then
            echo "$((KEY_LEFT[key] + 10)) $KEY_BARE_Y $FACE face of raised key $key"
        else
            echo "$((KEY_LEFT[key] + 10)) $KEY_BARE_Y $PANEL panel inside dim key $key"
        fi
    done
} | e2e_expect_pixels "$shot"

e2e_say "no text where none stands: heading, credit line, gaps of the panel"
read -r _ _ decimal_right _ <<<"${ROW_FACE[1]}"
regions=(
    "$((PX1 + 2)) $((PY1 + 2)) $((PX2 - 2)) ${ROW_Y[1]} $PANEL heading band above the rows"
    "$((decimal_right + 1)) $((PY1 + 2)) $((EX - 1)) ${ROW_Y[2]} $PANEL heading band between the decimal box and the buttons"
    "0 $((PY2 + 3)) $WINDOW_WIDTH $WINDOW_HEIGHT $CLEAR credit line below the panel"
    "$((PX1 + 2)) $((ROW_Y[3] + ROW_HEIGHT + 1)) $((PX2 - 2)) $KEY_TOP $PANEL gap between the binary row and the keys"
    "$((PX1 + 2)) $((KEY_TOP + KEY_SIZE + 2)) $((PX2 - 2)) $((PY2 - 2)) $PANEL gap below the keys"
    "$((EX + BUTTON_WIDTH + 1)) $((PY1 + 2)) $((PX2 - 2)) $((KEY_TOP - 1)) $PANEL strip right of the buttons"
)
mapfile -t answers < <(printf '%s\n' "${regions[@]}" | e2e_measure "$shot")
for i in "${!regions[@]}"; do
    read -r _ others _ <<<"${answers[i]}"
    [ "$others" -eq 0 ] || e2e_fail "${regions[i]}: $others pixels of another colour"
done

e2e_say "the labels read Decymalne, Hexadec., Binarne, right-aligned, with a dark copy"
# A label stands left of its row's box, from a pixel above the box's top.
labels=()
for row in 1 2 3; do
    labels+=("$((PX1 + 2)) $((ROW_TOP[row] - 1)) $((ROW_LEFT - 2)) $((ROW_TOP[row] + 24))")
done
words=$(e2e_read_words "$shot" 45 light "${labels[@]}")
[ "$words" = "Decymalne/Hexadec./Binarne" ] ||
    e2e_fail "the labels read '$words', want 'Decymalne/Hexadec./Binarne'"
for row in 1 2 3; do
    top=$((ROW_TOP[row] - 1))
    {
        read -r _ _ _ right _
        read -r accent _
        read -r dark _
    } < <(e2e_measure "$shot" <<EOF
$((PX1 + 2)) $top $((ROW_LEFT - 1)) $((top + 25)) $PANEL
$((PX1 + 2)) $top $((ROW_LEFT - 1)) $((top + 25)) $ACCENT
$((PX1 + 2)) $top $((ROW_LEFT - 1)) $((top + 25)) $CLEAR
EOF
    )
    if [ "$right" -lt $((LABEL_RIGHT - 2)) ] || [ "$right" -gt $((LABEL_RIGHT + 1)) ]; then
        e2e_fail "label of row $row ends at x=$right," \
            "want $((LABEL_RIGHT - 2))..$((LABEL_RIGHT + 1)) (right-aligned at $LABEL_RIGHT)"
    fi
    [ "$accent" -gt 0 ] || e2e_fail "label of row $row has no pixel of the accent colour"
    [ "$dark" -gt 0 ] || e2e_fail "label of row $row has no dark copy"
done

e2e_say "the buttons read WYJDŹ and COFNIJ, centred, the Ź with its accent"
# A caption stands inside its button's bevel.
captions=()
for button in 0 1; do
    read -r x top <<<"${BUTTON_CORNER[button]}"
    captions+=("$((x + 2)) $((top + 2)) $((x + BUTTON_WIDTH - 2)) $((top + BUTTON_HEIGHT - 1))")
done
words=$(e2e_read_words "$shot" 55 dark "${captions[@]}")
# OCR reads the Ź as a plain Z; its accent is checked by its pixels below.
[ "$words" = "WYJDZ/COFNIJ" ] || e2e_fail "the buttons read '$words', want 'WYJDZ/COFNIJ'"
for button in 0 1; do
    read -r x top <<<"${BUTTON_CORNER[button]}"
    middle=$((x + BUTTON_WIDTH / 2 - 1))
    # Capitals start four rows below the top edge; only an accent rises higher.
    {
        read -r _ _ left right _
        read -r _ high_left _
        read -r _ high_right _
    } < <(e2e_measure "$shot" <<EOF
$((x + 2)) $((top + 2)) $((x + BUTTON_WIDTH - 2)) $((top + BUTTON_HEIGHT - 1)) $FACE
$((x + 2)) $((top + 2)) $((x + 46)) $((top + 4)) $FACE
$((x + 46)) $((top + 2)) $((x + BUTTON_WIDTH - 2)) $((top + 4)) $FACE
EOF
    )
    offset=$((left + right - 2 * middle))
    if [ "$offset" -lt -2 ] || [ "$offset" -gt 2 ]; then
        e2e_fail "caption of button $button spans x $left..$right, not centred on $middle"
    fi
    [ "$high_left" -eq 0 ] || e2e_fail "caption of button $button has ink above its capitals"
    if [ "$button" -eq 0 ]; then
        [ "$high_right" -gt 0 ] || e2e_fail "the Ź of WYJDŹ has no accent"
    else
        [ "$high_right" -eq 0 ] || e2e_fail "COFNIJ has ink above its capitals"
    fi
done

e2e_say "every key shows its digit: dark on raised keys, in the background colour on dim ones"
# Per key: the caption's bounds against the face, then its text colour.
queries=()
for ((key = 0; key < KEY_COUNT; key++)); do
    x=${KEY_LEFT[key]}
    inside="$((x + 1)) $((KEY_TOP + 2)) $((x + KEY_SIZE - 2)) $((KEY_TOP + KEY_SIZE - 1))"
    if [ "$key" -lt 10 ]; then
        queries+=("$inside $FACE" "$inside $INK")
    else
        queries+=("$inside $PANEL" "$inside $CLEAR")
    fi
done
mapfile -t answers < <(printf '%s\n' "${queries[@]}" | e2e_measure "$shot")
[ "${#answers[@]}" -eq $((2 * KEY_COUNT)) ] ||
    e2e_fail "measured ${#answers[@]} boxes of keys, want $((2 * KEY_COUNT))"
for ((key = 0; key < KEY_COUNT; key++)); do
    x=${KEY_LEFT[key]}
    read -r _ others left right top bottom <<<"${answers[2 * key]}"
    read -r inked _ <<<"${answers[2 * key + 1]}"
    [ "$others" -gt 0 ] || e2e_fail "key $key shows no caption"
    if [ "$left" -lt $((x + 3)) ] || [ "$right" -gt $((x + 12)) ] ||
        [ "$top" -lt $((KEY_TOP + 2)) ] || [ "$bottom" -gt $((KEY_TOP + 15)) ]; then
        e2e_fail "key $key caption lies at x $left..$right, y $top..$bottom;" \
            "want inside x $((x + 3))..$((x + 12)), y $((KEY_TOP + 2))..$((KEY_TOP + 15))"
    fi
    [ "$inked" -gt 0 ] || e2e_fail "key $key caption has no pixel of its text colour"
done

e2e_say "clicks on an empty spot and just beside the exit button leave the program running"
read -r exit_left exit_top exit_right exit_bottom <<<"${BUTTON_HIT[0]}"
box_middle "${BUTTON_HIT[0]}"
exit_x=$MIDDLE_X exit_y=$MIDDLE_Y
for spot in "300 $(((ROW_Y[3] + ROW_HEIGHT + KEY_TOP) / 2))" "$exit_right $exit_y" "$exit_x $exit_bottom"; do
    read -r x y <<<"$spot"
    e2e_click "$x" "$y"
done
e2e_rest_pointer
sleep 0.5
e2e_running || e2e_fail "a click beside the exit button ended the program"

e2e_say "the exit button lights under the pointer"
e2e_pointer "$exit_x" "$exit_y"
e2e_wait_for 5 e2e_pixel_is $((EX + 5)) $((EY + 10)) "$BEVEL" ||
    e2e_fail "exit button face under the pointer is ($E2E_ANSWER), want ($BEVEL)"
e2e_new_shot
e2e_expect_pixels "$E2E_LAST_SHOT" <<EOF
$((EX + 5)) $((EY + 10)) $BEVEL lit exit button face
$((BX + 5)) $((BY + 10)) $FACE back button face while the pointer is on the exit
EOF

e2e_say "a click on WYJDŹ, at its top left corner, ends the program with status 0"
e2e_click "$exit_left" "$exit_top"
e2e_expect_exit 5 0 "click on WYJDŹ"

echo "frame: all checks passed"

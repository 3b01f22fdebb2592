#!/bin/bash
# The still picture: exact colours where the frame is solid, the labels and
# captions where they belong and nothing where no text stands, the lit exit
# button under the pointer, and the click on it that ends the program.
# Usage: frame.sh PROGRAM XSEND
set -eu
. "$(dirname "$0")/lib.sh"
e2e_open 100 "$@"
e2e_start "$PROGRAM"

CLEAR='10 100 100'
PANEL='30 130 130'
SHADOW='0 80 80'
BOX='60 160 160'
ACTIVE='100 200 200'
FACE='140 160 160'
BEVEL='170 190 190'
ACCENT='80 180 180'
INK='0 50 50'

e2e_settle 1
shot=$E2E_LAST_SHOT

# The buttons' faces' corners: exit EX EY, back BX BY.
read -r EX EY <<<"${BUTTON_CORNER[0]}"
read -r BX BY <<<"${BUTTON_CORNER[1]}"

e2e_say "solid parts of the frame have their exact colours"
{
    cat <<EOF
5 5 $CLEAR background top left
490 185 $CLEAR background bottom right
250 175 $CLEAR background below the panel
300 118 $PANEL panel face between rows and keys
25 150 $PANEL panel face bottom left
250 25 $PANEL panel face top
477 161 $SHADOW panel shadow corner
478 100 $SHADOW panel shadow right
100 162 $SHADOW panel shadow bottom
200 75 $BOX inactive hexadecimal box
300 100 $BOX inactive binary box
131 75 $BOX hexadecimal box, left end
278 75 $BOX hexadecimal box, right end
283 75 $PANEL panel right of the hexadecimal box
461 100 $BOX binary box, right end
200 45 $ACTIVE active decimal box
275 52 $ACTIVE active decimal box, far corner
$((EX + 5)) $((EY + 10)) $FACE exit button face, left
$((EX + 65)) $((EY + 10)) $FACE exit button face, right
$((BX + 5)) $((BY + 10)) $FACE back button face, left
$((BX + 65)) $((BY + 10)) $FACE back button face, right
$((EX + 1)) $((EY + 10)) $BEVEL exit button bevel, left
$((EX + 71)) $((EY + 10)) $BEVEL exit button bevel, right
$((BX + 1)) $((BY + 10)) $BEVEL back button bevel, left
$((EX + 73)) $((EY + 10)) $CLEAR exit button shadow, right
$((EX + 30)) $((EY + 21)) $CLEAR exit button shadow, bottom
57 135 $CLEAR key 0 shadow, right
46 147 $CLEAR key 0 shadow, bottom
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
regions=(
    "22 22 474 35 $PANEL heading band above the rows"
    "281 22 $((EX - 1)) 63 $PANEL heading band between the decimal box and the buttons"
    "0 163 496 190 $CLEAR credit line below the panel"
    "22 114 474 125 $PANEL gap between the binary row and the keys"
    "22 148 474 158 $PANEL gap below the keys"
    "$((EX + 74)) 22 474 124 $PANEL strip right of the buttons"
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
    labels+=("22 $((ROW_TOP[row] - 1)) 128 $((ROW_TOP[row] + 24))")
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
22 $top 129 $((top + 25)) $PANEL
22 $top 129 $((top + 25)) $ACCENT
22 $top 129 $((top + 25)) $CLEAR
EOF
    )
    if [ "$right" -lt 118 ] || [ "$right" -gt 121 ]; then
        e2e_fail "label of row $row ends at x=$right, want 118..121 (right-aligned at 120)"
    fi
    [ "$accent" -gt 0 ] || e2e_fail "label of row $row has no pixel of the accent colour"
    [ "$dark" -gt 0 ] || e2e_fail "label of row $row has no dark copy"
done

e2e_say "the buttons read WYJDŹ and COFNIJ, centred, the Ź with its accent"
# A caption stands inside its button's bevel.
captions=()
for button in 0 1; do
    read -r x top <<<"${BUTTON_CORNER[button]}"
    captions+=("$((x + 2)) $((top + 2)) $((x + 71)) $((top + 19))")
done
words=$(e2e_read_words "$shot" 55 dark "${captions[@]}")
# OCR reads the Ź as a plain Z; its accent is checked by its pixels below.
[ "$words" = "WYJDZ/COFNIJ" ] || e2e_fail "the buttons read '$words', want 'WYJDZ/COFNIJ'"
for button in 0 1; do
    read -r x top <<<"${BUTTON_CORNER[button]}"
    middle=$((x + 35))
    # Capitals start four rows below the top edge; only an accent rises higher.
    {
        read -r _ _ left right _
        read -r _ high_left _
        read -r _ high_right _
    } < <(e2e_measure "$shot" <<EOF
$((x + 2)) $((top + 2)) $((x + 71)) $((top + 19)) $FACE
$((x + 2)) $((top + 2)) $((x + 46)) $((top + 4)) $FACE
$((x + 46)) $((top + 2)) $((x + 71)) $((top + 4)) $FACE
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
    if [ "$key" -lt 10 ]; then
        queries+=("$((x + 1)) 127 $((x + 19)) 145 $FACE" "$((x + 1)) 127 $((x + 19)) 145 $INK")
    else
        queries+=("$((x + 1)) 127 $((x + 19)) 145 $PANEL" "$((x + 1)) 127 $((x + 19)) 145 $CLEAR")
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
        [ "$top" -lt 127 ] || [ "$bottom" -gt 140 ]; then
        e2e_fail "key $key caption lies at x $left..$right, y $top..$bottom;" \
            "want inside x $((x + 3))..$((x + 12)), y 127..140"
    fi
    [ "$inked" -gt 0 ] || e2e_fail "key $key caption has no pixel of its text colour"
done

e2e_say "clicks on an empty spot and just beside the exit button leave the program running"
read -r exit_left exit_top exit_right exit_bottom <<<"${BUTTON_HIT[0]}"
box_middle "${BUTTON_HIT[0]}"
exit_x=$MIDDLE_X exit_y=$MIDDLE_Y
for spot in "300 118" "$exit_right $exit_y" "$exit_x $exit_bottom"; do
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

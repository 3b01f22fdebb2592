# shellcheck shell=bash
# Random input of every kind a person, a window manager or a stuck key can
# give, except Escape and a click on the exit button. Source it after
# tests/e2e/lib.sh; seed bash's RANDOM first so a run can be repeated.
#
# Actions run one after another and each releases what it pressed before it
# returns, so no key or button is down while the pointer moves: a key
# released outside the window would stay down for the program.

# The exit button ends the program on a click.
soak_on_exit_button() {
    local x1 y1 x2 y2
    read -r x1 y1 x2 y2 <<<"${BUTTON_HIT[0]}"
    (($1 >= x1 && $1 < x2 && $2 >= y1 && $2 < y2))
}

SOAK_X=0
SOAK_Y=0

# Picks a point in or around the window that is not on the exit button.
soak_pick_point() {
    while :; do
        SOAK_X=$((RANDOM % 760 - 100))
        SOAK_Y=$((RANDOM % 400 - 100))
        soak_on_exit_button "$SOAK_X" "$SOAK_Y" || return 0
    done
}

# Picks a point where a click does something: a row, the back button, a key.
soak_pick_target() {
    local x1 y1 x2 y2
    case $((RANDOM % 4)) in
    0) read -r x1 y1 x2 y2 <<<"${ROW_HIT[1 + RANDOM % 3]}" ;;
    1) read -r x1 y1 x2 y2 <<<"${BUTTON_HIT[1]}" ;;
    *) read -r x1 y1 x2 y2 <<<"${KEY_HIT[RANDOM % KEY_COUNT]}" ;;
    esac
    SOAK_X=$((x1 + RANDOM % (x2 - x1)))
    SOAK_Y=$((y1 + RANDOM % (y2 - y1)))
}

soak_pick() {
    if ((RANDOM % 2)); then soak_pick_target; else soak_pick_point; fi
}

# A number of seconds below one: "0.NN" for NN from FROM to TO.
soak_seconds() { printf '0.%02d' $(($1 + RANDOM % ($2 - $1 + 1))); }

# Key names, as xdotool takes them, that type something other than Escape:
# digits and letters of every field and of none, the editing keys, keypad
# digits, letters beyond ASCII (xdotool maps a spare key for them), keys
# with no character, and control letters (characters 1 to 26; a control
# digit or bracket could type Escape).
SOAK_KEYS=(0 1 2 3 4 5 6 7 8 9 a b c d e f g z A B C D E F G Z
    space Tab Return BackSpace Delete minus plus period comma slash
    KP_0 KP_1 KP_7 KP_9 KP_Enter KP_Add KP_Decimal
    aacute Zacute zabovedot oacute ssharp EuroSign Greek_alpha Cyrillic_ZHE
    Home End Page_Up Insert F1 F5 F12 Shift_L Control_R Alt_L Left Right
    ctrl+a ctrl+c ctrl+g ctrl+h ctrl+i ctrl+m ctrl+z alt+f shift+Tab)

# A short press and release of a random key.
soak_key() { e2e_key "${SOAK_KEYS[RANDOM % ${#SOAK_KEYS[@]}]}"; }

# A key held long enough to repeat (repeats begin after about 0.66 s).
soak_key_repeat() {
    local keys=(1 7 F b BackSpace Return KP_5 Zacute)
    e2e_hold_key "${keys[RANDOM % ${#keys[@]}]}" "$(soak_seconds 70 99)"
}

# An arrow key, or both vertical ones together, held from a tap to a third
# of a second.
soak_arrow() {
    local hold
    hold=$(soak_seconds 5 35)
    case $((RANDOM % 5)) in
    0) e2e_xdo keydown Up keydown Down sleep "$hold" keyup Down keyup Up ;;
    1) e2e_hold_key Up "$hold" ;;
    2) e2e_hold_key Left "$hold" ;;
    *) e2e_hold_key Down "$hold" ;;
    esac
}

# A burst of characters typed faster than any person types, then a pause
# in which the program catches up: it takes a key's press and its character
# in two passes of about 13 ms, so bursts without pauses would queue events
# without end.
soak_burst() {
    local text='' i count=$((5 + RANDOM % 20))
    local chars='0123456789abcdefABCDEFxyz+-.,'
    for ((i = 0; i < count; i++)); do
        text+=${chars:RANDOM % ${#chars}:1}
    done
    e2e_xdo type --delay 1 -- "$text" sleep "$(printf '%d.%02d' $((count * 4 / 100)) $((count * 4 % 100)))"
}

# A press somewhere safe with one of the masks: the primary alone (a click
# or a long hold), the secondary, the middle, or the primary and secondary
# together, or a turn of the wheel. Xlib numbers the buttons 1 primary,
# 2 middle, 3 secondary, 4 and 5 the wheel.
soak_press() {
    local hold
    hold=$(soak_seconds 3 12)
    soak_pick
    case $((RANDOM % 8)) in
    0) soak_at "$SOAK_X" "$SOAK_Y" mousedown 3 sleep "$hold" mouseup 3 ;;
    1) soak_at "$SOAK_X" "$SOAK_Y" mousedown 2 sleep "$hold" mouseup 2 ;;
    2) soak_at "$SOAK_X" "$SOAK_Y" mousedown 1 mousedown 3 sleep "$hold" mouseup 3 mouseup 1 ;;
    3) soak_at "$SOAK_X" "$SOAK_Y" mousedown 1 sleep "$(soak_seconds 30 99)" mouseup 1 ;;
    4) soak_at "$SOAK_X" "$SOAK_Y" click 4 click 5 ;;
    *) soak_at "$SOAK_X" "$SOAK_Y" mousedown 1 sleep "$hold" mouseup 1 ;;
    esac
}

# Moves the pointer to window coordinates X Y, negative ones too (the
# server keeps it on the screen), then runs the xdotool commands that follow.
soak_at() {
    local x=$1 y=$2
    shift 2
    e2e_xdo mousemove --window "$E2E_WID" -- "$x" "$y" sleep 0.02 "$@"
}

# The pointer anywhere in or around the window, the exit button included:
# hovering over it is harmless.
soak_move() { soak_at $((RANDOM % 760 - 100)) $((RANDOM % 400 - 100)); }

soak_window_event() {
    case $((RANDOM % 3)) in
    0) e2e_close_request ;;
    1) e2e_focus focus-out ;;
    *) e2e_focus focus-in ;;
    esac
}

# One random action, weighted towards what a person does most.
soak_random_action() {
    local roll=$((RANDOM % 100))
    if ((roll < 30)); then
        soak_key
    elif ((roll < 33)); then
        soak_key_repeat
    elif ((roll < 45)); then
        soak_arrow
    elif ((roll < 50)); then
        soak_burst
    elif ((roll < 75)); then
        soak_press
    elif ((roll < 90)); then
        soak_move
    else
        soak_window_event
    fi
}

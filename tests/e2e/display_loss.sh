#!/bin/bash
# The X server ending under the program, whatever the program is doing:
# idle, taking typed keys, waiting for a paste's answer, owning the
# clipboard, waiting for a held button's release. Each trial has a server of
# its own, ended by its process id as a crash (SIGKILL) or a shutdown
# (SIGTERM) ends it; two more reach their server through a link, as a remote
# login does, and the link is cut while the server lives: dropped, or deaf
# to the program's requests. Nothing else ends the program: it must end by
# itself within a second, with status 1 and one line on stderr that names
# the display it lost.
# Usage: display_loss.sh PROGRAM XSEND CLIPBOARD_MANAGER SILENT_OWNER BELL_LISTENER LINK_PROXY
set -eu
OWNER=$4 LINK=$6
. "$(dirname "$0")/lib.sh"
e2e_begin 170 "$2" "$@"
PROGRAM=$1
command -v xclip >/dev/null || e2e_fail "xclip is missing: run scripts/install-deps.sh with the test group"

LIMIT_US=1000000 # from the display's loss to the program's end

# ---- What the program is doing as its display goes ----

idle() { sleep 0.2; }

# A key and its deletion, again and again, so that every pass has input to
# fetch, drain and draw anew; the typing goes on as the server ends.
typing() {
    local keys=() i
    for ((i = 0; i < 100; i++)); do keys+=($((i % 10)) BackSpace); done
    e2e_mark
    xdotool key --delay 40 "${keys[@]}" >/dev/null 2>&1 &
    e2e_track $!
    e2e_kept mark
    e2e_wait_for 5 e2e_shot_differs_outside 1 "$E2E_FILE" || e2e_fail "typing: the window did not change"
}

requests_seen() { [ "$(grep -c '^request ' "$E2E_TMP/owner.out")" -ge "$1" ]; }

# Ctrl+V held down with an owner that never answers: once the key repeats,
# every pass pastes and waits the whole 0.3 s, so the program spends nearly
# all its time in that wait.
pasting() {
    "$OWNER" >"$E2E_TMP/owner.out" 2>&1 &
    e2e_track $!
    e2e_wait_for 5 grep -q '^ready$' "$E2E_TMP/owner.out" ||
        e2e_fail "the silent owner did not start: $(cat "$E2E_TMP/owner.out")"
    e2e_xdo keydown Control_L keydown v
    e2e_wait_for 5 requests_seen 3 ||
        e2e_fail "pasting: the owner saw $(grep -c '^request ' "$E2E_TMP/owner.out") requests, want 3"
}

# After Ctrl+C the program owns the clipboard and serves it every pass.
owning() {
    e2e_chord Control_L c
    e2e_wait_for 5 e2e_clip_is 0 || e2e_fail "owning: xclip reads '$(e2e_clip_get)', want 0"
}

# The button pressed where it covers nothing and held: the pass after the
# press polls the pointer until the release, which never comes.
holding() {
    e2e_press_button "${REST_SPOT[@]}"
    sleep 0.3
}

# ---- How the display goes ----

# A link to the trial's server, as display LINK_DISPLAY; it takes lines
# that cut it on descriptor LINK_IN.
LINK_IN='' LINK_DISPLAY=''
start_link() {
    local out="$E2E_TMP/link.out"
    rm -f "$E2E_TMP/link.in"
    mkfifo "$E2E_TMP/link.in"
    "$LINK" <"$E2E_TMP/link.in" >"$out" 2>&1 &
    e2e_track $!
    [ -z "$LINK_IN" ] || exec {LINK_IN}>&-
    exec {LINK_IN}>"$E2E_TMP/link.in"
    e2e_wait_for 5 grep -q '^display :' "$out" || e2e_fail "the link did not start: $(cat "$out")"
    LINK_DISPLAY=$(sed -n 's/^display //p' "$out")
}

# TERM and KILL end the server; drop and deaf cut the link. The moment just
# before goes to GONE_US.
GONE_US=0
lose_display() {
    case $1 in
    TERM | KILL)
        e2e_end_xvfb "$1"
        GONE_US=$E2E_ENDED_XVFB_US
        ;;
    *)
        GONE_US=${EPOCHREALTIME/[.,]/}
        echo "$1" >&"$LINK_IN"
        ;;
    esac
}

# ---- One trial ----

lost_line_re() { printf '^ravuriradoz: utracono połączenie z ekranem graficznym %s [(]' "$1"; }

timings=()
trial() {
    local state=$1 how=$2 display lines
    e2e_say "$state, then the display lost: $how"
    e2e_start_xvfb
    display=$DISPLAY
    if [ "$how" = drop ] || [ "$how" = deaf ]; then
        start_link
        display=$LINK_DISPLAY
    fi
    DISPLAY=$display e2e_start_with env --default-signal
    e2e_find_window
    "$state"
    e2e_running || e2e_fail "$state: the program ended before its display was lost"
    lose_display "$how"
    e2e_expect_exit 10 1 "$state, $how"
    e2e_exit_after "$GONE_US"
    timings+=("$state/$how:$((E2E_AFTER_US / 1000))")
    [ "$E2E_AFTER_US" -le "$LIMIT_US" ] ||
        e2e_fail "$state, $how: the program ended $((E2E_AFTER_US / 1000)) ms after the display went"
    ! kill -0 "$E2E_PROGRAM_PID" 2>/dev/null || e2e_fail "$state: the program's process is still there"
    [ ! -s "$E2E_RUN/out" ] || e2e_fail "$state: the program wrote to stdout: $(cat "$E2E_RUN/out")"
    lines=$(wc -l <"$E2E_RUN/err")
    [ "$lines" -eq 1 ] || e2e_fail "$state, $how: $lines lines on stderr, want 1"
    grep -q "$(lost_line_re "$display")" "$E2E_RUN/err" ||
        e2e_fail "$state, $how: the line does not name the lost display $display"
}

for state in idle typing pasting owning holding; do
    for how in TERM KILL; do
        trial "$state" "$how"
    done
done
# A link that drops ends the connections as a server that ends does; one
# deaf to the requests makes the program's next write fail instead.
trial idle drop
trial typing deaf
echo "measured: ms from the display's loss to the program's end: ${timings[*]}"
echo "display_loss: all checks passed"

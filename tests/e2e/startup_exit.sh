#!/bin/bash
# Start-up and the ways out: the window's title and size, Escape, the close
# box that must not end the program, and the two start-up failures a user
# meets (no font beside the program, no graphical display).
# Usage: startup_exit.sh PROGRAM XSEND
set -eu
. "$(dirname "$0")/lib.sh"
e2e_open 100 "$@"

# The only line on stderr, or a failure naming what came instead.
only_error_line() {
    local lines
    lines=$(wc -l <"$E2E_RUN/err")
    [ "$lines" -eq 1 ] || e2e_fail "$1: $lines lines on stderr, want 1"
    grep -q '^ravuriradoz: ' "$E2E_RUN/err" || e2e_fail "$1: the message lacks the program's name"
}

e2e_say "the window opens with its exact title and size 496x190"
e2e_watch_start
e2e_start "$PROGRAM"
e2e_watch_stop
[ "$E2E_CREATED" -ge 1 ] || e2e_fail "no window creation was seen while the program opened one"
for property in WM_NAME _NET_WM_NAME; do
    title=$(xprop -id "$E2E_WID" "$property" | sed -n 's/^[^=]*= "\(.*\)"$/\1/p')
    [ "$title" = "$E2E_TITLE" ] || e2e_fail "$property is '$title', want '$E2E_TITLE'"
done
e2e_expect_window_size

e2e_say "a close request, focus changes and their stray event fields type nothing"
for _ in 1 2 3; do
    e2e_close_request
    e2e_focus focus-out
    e2e_focus focus-in
done
sleep 1
e2e_running || e2e_fail "a close request ended the program (status $(cat "$E2E_RUN/status"))"
e2e_mark
e2e_type 7
e2e_checkpoint 1 seven "7 typed after the close requests" 2:7 3:111
e2e_arrow_to Down 2
e2e_checkpoint 2 seven-inactive "7 typed after the close requests" 1:7

e2e_say "Escape held 50 ms ends the program with status 0 and no output"
e2e_key Escape
e2e_expect_exit 5 0 "Escape"
e2e_expect_quiet

e2e_say "without arial.ttf in the working directory: status 1, a message naming it, no window"
lonely="$E2E_TMP/lonely"
mkdir "$lonely"
cp "$PROGRAM" "$lonely/"
e2e_watch_start
e2e_start_program "$lonely/$(basename "$PROGRAM")"
e2e_expect_exit 10 1 "start without arial.ttf"
e2e_watch_stop
[ "$E2E_CREATED" -eq 0 ] || e2e_fail "start without arial.ttf created $E2E_CREATED windows"
only_error_line "start without arial.ttf"
grep -q 'arial\.ttf' "$E2E_RUN/err" || e2e_fail "the message does not name arial.ttf"
grep -q 'katalog.* robocz' "$E2E_RUN/err" ||
    e2e_fail "the message does not point to the working directory (katalog roboczy)"

e2e_say "with DISPLAY naming no server: status 1 and a message"
number=900
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
    number=$((number + 1))
done
DISPLAY=":$number" e2e_start_program "$PROGRAM"
e2e_expect_exit 10 1 "start without a display"
only_error_line "start without a display"

e2e_say "the texts noted on the way read back right"
e2e_check_texts
echo "startup_exit: all checks passed"

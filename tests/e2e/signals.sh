#!/bin/bash
# The signals that end a program from outside: SIGTERM (the session ends),
# SIGHUP (its terminal closes), SIGINT (Ctrl+C there). Each, sent after a
# Ctrl+C copy with a clipboard manager running, ends the program as Escape
# does, so the copy outlives it, and then by that signal (status 128 + n);
# SIGTERM while the button is held down. Ignored when the program started,
# as nohup and a script's background job leave them, they end nothing. In
# start-up, SIGTERM ends the program at once and leaves no window.
# Usage: signals.sh PROGRAM XSEND CLIPBOARD_MANAGER ...
set -eu
MANAGER=$3
. "$(dirname "$0")/lib.sh"
e2e_open 150 "$@"
command -v xclip >/dev/null || e2e_fail "xclip is missing: run scripts/install-deps.sh with the test group"

"$MANAGER" >"$E2E_TMP/manager.out" 2>&1 &
e2e_track $!
e2e_wait_for 5 grep -q '^ready$' "$E2E_TMP/manager.out" ||
    e2e_fail "the clipboard manager did not start: $(cat "$E2E_TMP/manager.out")"

# Starts the program with every signal at its default, types NUMBER and
# copies it.
start_and_copy() {
    e2e_start_with env --default-signal
    e2e_find_window
    e2e_mark
    e2e_type "$1"
    e2e_checkpoint 1 "typed-$1" "$1 typed"
    e2e_chord Control_L c
    e2e_wait_for 5 e2e_clip_is "$1" || e2e_fail "xclip reads '$(e2e_clip_get)' after Ctrl+C, want $1"
}

for item in TERM:15 HUP:1 INT:2; do
    signal=${item%:*} status=$((128 + ${item#*:}))
    e2e_say "SIG$signal after a copy: the copy is handed over, then status $status"
    # The number copied is the status expected, so each trial copies anew.
    start_and_copy "$status"
    if [ "$signal" = TERM ]; then
        e2e_press_button "${REST_SPOT[@]}" # held down through the signal
        sleep 0.3
    fi
    kill -s "$signal" "$E2E_PROGRAM_PID"
    e2e_expect_exit 5 "$status" "SIG$signal"
    [ "$signal" != TERM ] || e2e_release_button
    e2e_expect_quiet
    grep -qx "saved $status" "$E2E_TMP/manager.out" ||
        e2e_fail "SIG$signal: the manager did not save $status: $(cat "$E2E_TMP/manager.out")"
    e2e_clip_is "$status" || e2e_fail "SIG$signal: xclip reads '$(e2e_clip_get)' afterwards, want $status"
done

e2e_say "under nohup, as a script's background job: SIGHUP and SIGINT end nothing"
e2e_start_with nohup
e2e_find_window
kill -s HUP "$E2E_PROGRAM_PID"
kill -s INT "$E2E_PROGRAM_PID"
sleep 0.5
e2e_running || e2e_fail "an ignored signal ended the program (status $(cat "$E2E_RUN/status"))"
e2e_mark
e2e_type 7
e2e_checkpoint 1 seven "7 typed after SIGHUP and SIGINT"
e2e_key Escape
e2e_expect_exit 5 0 "Escape after the ignored signals"
e2e_expect_quiet

# With the server stopped the program waits in start-up for its answer, so
# the signal certainly comes there.
e2e_say "SIGTERM in start-up: the program ends at once, without a window"
e2e_watch_start
kill -s STOP "$E2E_XVFB_PID"
e2e_start_with env --default-signal
sleep 0.5
e2e_running || e2e_fail "the program ended in start-up before the signal came"
kill -s TERM "$E2E_PROGRAM_PID"
e2e_expect_exit 5 143 "SIGTERM in start-up, the server stopped"
kill -s CONT "$E2E_XVFB_PID"
e2e_watch_stop
[ "$E2E_CREATED" -eq 0 ] || e2e_fail "SIGTERM in start-up left $E2E_CREATED windows made"
e2e_expect_quiet
echo "signals: all checks passed"

#!/bin/bash
# The bell, heard from outside the program through XKB: a refused paste
# rings it once and leaves the window as it was, whether the clipboard is
# empty or holds no number; an accepted paste and every other key ring
# nothing.
# Usage: bell.sh PROGRAM XSEND CLIPBOARD_MANAGER SILENT_OWNER BELL_LISTENER
set -eu
LISTENER=$5
. "$(dirname "$0")/lib.sh"
e2e_open 120 "$@"

BELL_IN='' BELL_OUT='' BELLS=''

# The listener starts after the program, which must not inherit its pipes.
start_listener() {
    local line
    mkfifo "$E2E_TMP/bell.in" "$E2E_TMP/bell.out"
    "$LISTENER" <"$E2E_TMP/bell.in" >"$E2E_TMP/bell.out" 2>"$E2E_TMP/bell.err" &
    e2e_track $!
    exec {BELL_IN}>"$E2E_TMP/bell.in" {BELL_OUT}<"$E2E_TMP/bell.out"
    read -r -t 10 -u "$BELL_OUT" line && [ "$line" = ready ] ||
        e2e_fail "the bell listener did not start: $(cat "$E2E_TMP/bell.err")"
}

# The bells rung so far, into BELLS.
count_bells() {
    printf 'count\n' 2>/dev/null 1>&"$BELL_IN" ||
        e2e_fail "the bell listener has stopped: $(cat "$E2E_TMP/bell.err")"
    read -r -t 20 -u "$BELL_OUT" BELLS || e2e_fail "the bell listener did not answer"
}
bells_are() { count_bells && [ "$BELLS" = "$1" ]; }
expect_bells() { bells_are "$1" || e2e_fail "$2: $BELLS bells rung in all, want $1"; }

# A shot that matches kept shot NAME in every pixel.
shot_is() { e2e_shot && e2e_kept "$1" && e2e_rows_equal "$E2E_FILE" "$E2E_LAST_SHOT" 0 "$WINDOW_HEIGHT"; }

# Ctrl+V that must be refused: one more bell, and once the window has
# settled it is the picture it showed before, the blinking cursor aside,
# which is waited for until it blinks as it did then.
expect_refused_paste() {
    local what=$1 bells=$2
    e2e_settle 1
    e2e_keep_shot "before-$bells"
    e2e_chord Control_L v
    e2e_wait_for 5 bells_are "$bells" || e2e_fail "$what: $BELLS bells rung in all, want $bells"
    e2e_settle 1
    e2e_kept "before-$bells"
    e2e_same_outside 1 "$E2E_FILE" "$E2E_LAST_SHOT" || e2e_fail "$what changed the window"
    e2e_wait_for 10 shot_is "before-$bells" || e2e_fail "$what changed the active row"
}

e2e_start "$PROGRAM"
start_listener
expect_bells 0 "at start"

e2e_say "Ctrl+V with nothing on the clipboard rings once and changes nothing"
expect_refused_paste "a paste with no clipboard owner" 1

e2e_say "typed digits ring nothing"
e2e_mark
e2e_type 7
e2e_checkpoint 1 typed-7 "7 typed after a refused paste" 2:7 3:111
expect_bells 1 "7 typed after the refused paste"

e2e_say "an accepted paste rings nothing"
e2e_clip_set < <(printf 255)
e2e_wait_for 5 e2e_clip_is 255 || e2e_fail "xclip does not serve 255"
e2e_mark
e2e_chord Control_L v
e2e_checkpoint 1 pasted-255 "255 pasted" 2:FF 3:11111111
expect_bells 1 "255 pasted"

e2e_say "-1 on the clipboard: Ctrl+V rings once and changes nothing"
e2e_clip_set < <(printf -- -1)
e2e_wait_for 5 e2e_clip_is -1 || e2e_fail "xclip does not serve -1"
expect_refused_paste "a paste of -1" 2
e2e_mark
e2e_type 3
e2e_checkpoint 1 typed-2553 "3 typed after the refused paste of -1" 2:9F9 3:100111111001
expect_bells 2 "3 typed after the refused paste of -1"

e2e_say "Backspace, the arrows, Ctrl+C and Ctrl+Shift+C ring nothing"
e2e_mark
e2e_key BackSpace
e2e_checkpoint 1 back-255 "Backspace after 2553" 2:FF 3:11111111
e2e_arrow_to Down 2
e2e_chord Control_L c
e2e_wait_for 5 e2e_clip_is FF || e2e_fail "xclip reads '$(e2e_clip_get)' after Ctrl+C, want FF"
e2e_chord Control_L+Shift_L c
e2e_wait_for 5 e2e_clip_is 0xFF || e2e_fail "xclip reads '$(e2e_clip_get)' after Ctrl+Shift+C, want 0xFF"
e2e_arrow_to Up 1
expect_bells 2 "Backspace, arrows and copies"

e2e_key Escape
e2e_expect_exit 5 0 "Escape"
e2e_expect_quiet
expect_bells 2 "Escape"

e2e_say "the texts noted on the way read back right"
e2e_check_texts
echo "bell: all checks passed"

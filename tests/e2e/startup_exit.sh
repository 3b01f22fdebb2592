#!/bin/bash
# Start-up and the ways out: the window's title and size, Escape, the close
# box that must not end the program, the start-up failures a user meets (no
# font beside the program, a font that cannot be read, no graphical
# display), and the command line, answered without a display: the options,
# numbers converted, and output that cannot be written.
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

# A font that is there but cannot be read wants another remedy than a
# missing one, so the message says which it is.
e2e_say "arial.ttf a folder, then a cut-off font: status 1, a message naming which, no window"
font="$(dirname "$PROGRAM")/arial.ttf"
for item in folder:'arial\.ttf jest katalogiem' \
    cut-off:'plik arial\.ttf istnieje, ale nie jest czytelną czcionką TrueType'; do
    kind=${item%%:*}
    rm -rf "$lonely/arial.ttf"
    if [ "$kind" = folder ]; then
        mkdir "$lonely/arial.ttf"
    else
        head -c 4096 "$font" >"$lonely/arial.ttf"
    fi
    e2e_watch_start
    e2e_start_program "$lonely/$(basename "$PROGRAM")"
    e2e_expect_exit 10 1 "start with a $kind arial.ttf"
    e2e_watch_stop
    [ "$E2E_CREATED" -eq 0 ] || e2e_fail "start with a $kind arial.ttf created $E2E_CREATED windows"
    only_error_line "start with a $kind arial.ttf"
    grep -q "${item#*:}" "$E2E_RUN/err" || e2e_fail "the message does not say '${item#*:}'"
done

e2e_say "with DISPLAY naming no server: status 1 and a message"
number=900
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
    number=$((number + 1))
done
DISPLAY=":$number" e2e_start_program "$PROGRAM"
e2e_expect_exit 10 1 "start without a display"
only_error_line "start without a display"

# Runs the program with the arguments given, without a display, in a folder
# without the font; its status into RAN, its output in $E2E_TMP/bare.out
# (or BARE_OUT) and bare.err.
run_bare() {
    RAN=0
    (cd "$E2E_TMP" && env -u DISPLAY timeout 10 "$PROGRAM" "$@") \
        >"${BARE_OUT:-$E2E_TMP/bare.out}" 2>"$E2E_TMP/bare.err" || RAN=$?
}
expect_bare() {
    [ "$RAN" -eq "$1" ] || e2e_fail "$2: status $RAN, want $1; stderr: $(cat "$E2E_TMP/bare.err")"
}

e2e_say "--version and --help answer without a display, with status 0"
version=$(sed -n 's/^project(ravuriradoz VERSION \([0-9.]*\) .*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
[ -n "$version" ] || e2e_fail "no version in CMakeLists.txt"
run_bare --version
expect_bare 0 "--version"
[ "$(cat "$E2E_TMP/bare.out")" = "ravuriradoz $version" ] ||
    e2e_fail "--version printed '$(cat "$E2E_TMP/bare.out")', want 'ravuriradoz $version'"
[ ! -s "$E2E_TMP/bare.err" ] || e2e_fail "--version wrote to stderr: $(cat "$E2E_TMP/bare.err")"
run_bare --help
expect_bare 0 "--help"
for line in '^Użycie: ravuriradoz \[--help | --version\]$' '^  Ctrl+V  ' '^  --version  '; do
    grep -q -- "$line" "$E2E_TMP/bare.out" || e2e_fail "--help lacks a line like '$line'"
done
[ ! -s "$E2E_TMP/bare.err" ] || e2e_fail "--help wrote to stderr: $(cat "$E2E_TMP/bare.err")"

e2e_say "any other argument: one line naming it on stderr and status 2, before anything opens"
run_bare --kolor
expect_bare 2 "--kolor"
[ ! -s "$E2E_TMP/bare.out" ] || e2e_fail "--kolor wrote to stdout: $(cat "$E2E_TMP/bare.out")"
[ "$(wc -l <"$E2E_TMP/bare.err")" -eq 1 ] || e2e_fail "--kolor: want one line on stderr, got: $(cat "$E2E_TMP/bare.err")"
grep -q '^ravuriradoz: .*--kolor.*ravuriradoz --help' "$E2E_TMP/bare.err" ||
    e2e_fail "the line does not name --kolor and --help: $(cat "$E2E_TMP/bare.err")"

e2e_say "numbers convert without a display: a line each, a refused one named on stderr, status 1"
run_bare 48879
expect_bare 0 "48879"
[ "$(cat "$E2E_TMP/bare.out")" = "$(printf '48879\t0xBEEF\t0b1011111011101111')" ] ||
    e2e_fail "48879 printed '$(cat "$E2E_TMP/bare.out")'"
[ ! -s "$E2E_TMP/bare.err" ] || e2e_fail "48879 wrote to stderr: $(cat "$E2E_TMP/bare.err")"
run_bare 0x 0
expect_bare 1 "0x 0"
[ "$(cat "$E2E_TMP/bare.out")" = "$(printf '0\t0x0\t0b0')" ] ||
    e2e_fail "0x 0 printed '$(cat "$E2E_TMP/bare.out")', want 0 alone"
[ "$(cat "$E2E_TMP/bare.err")" = 'ravuriradoz: „0x”: brak cyfr' ] ||
    e2e_fail "0x is not refused for want of digits: $(cat "$E2E_TMP/bare.err")"

e2e_say "after -- a word with a minus is a refused number (status 1), before it an option (status 2)"
run_bare -- -1
expect_bare 1 "-- -1"
grep -qx 'ravuriradoz: „-1”: znak „-” .*' "$E2E_TMP/bare.err" ||
    e2e_fail "-- -1 did not name the minus: $(cat "$E2E_TMP/bare.err")"
run_bare -1
expect_bare 2 "-1"
grep -qx 'ravuriradoz: nieoczekiwany argument „-1”.*' "$E2E_TMP/bare.err" ||
    e2e_fail "-1 is not named as an argument: $(cat "$E2E_TMP/bare.err")"

# As GNU programs do: output that never reached its file is an error.
e2e_say "--version into a full device, or with stdout closed: status 1 and one line on stderr"
for target in /dev/full closed; do
    if [ "$target" = closed ]; then
        RAN=0
        (cd "$E2E_TMP" && env -u DISPLAY timeout 10 "$PROGRAM" --version) \
            >&- 2>"$E2E_TMP/bare.err" || RAN=$?
    else
        BARE_OUT=$target run_bare --version
    fi
    expect_bare 1 "--version into $target"
    [ "$(cat "$E2E_TMP/bare.err")" = 'ravuriradoz: błąd zapisu na standardowe wyjście' ] ||
        e2e_fail "--version into $target: stderr is '$(cat "$E2E_TMP/bare.err")'"
done
BARE_OUT=/dev/full run_bare 48879
expect_bare 1 "48879 into /dev/full"

e2e_say "the texts noted on the way read back right"
e2e_check_texts
echo "startup_exit: all checks passed"

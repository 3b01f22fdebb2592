# shellcheck shell=bash disable=SC2034 # the E2E_ variables are read by the scripts that source this
# Shared steps of the end-to-end scripts: a private X server, the program in
# a real window, input given as a person gives it, and screenshots to check.
# Every wait is bounded. Positions come from geometry.sh (sourced here);
# boxes are "X1 Y1 X2 Y2" as it says. Rows are the field rows, 1 decimal,
# 2 hexadecimal, 3 binary. Results go to E2E_ variables, not stdout, and
# xdotool and xsend run once as line-by-line helpers: on a busy machine
# starting a process costs more than most checks.
#
# What a test may call, one line each (the other functions are this file's own):
#
# Setting up
#   e2e_open SECONDS PROGRAM XSEND ...   a window test's first step: e2e_begin, e2e_start_xvfb; sets PROGRAM
#   e2e_begin SECONDS XSEND ARGS...      any other script's: e2e_bound with ARGS, E2E_XSEND, e2e_init
#   e2e_bound SECONDS ARGS...            runs the calling script again with ARGS under timeout SECONDS
#   e2e_init                             E2E_TMP (gone at exit), traps, tool check; E2E_XSEND names xsend
#   e2e_start_xvfb                       a private X server as DISPLAY, with xdotool and xsend on it;
#                                        called again, a new one (the old one ended or left running)
#   e2e_start_xvfb_sized WIDTHxHEIGHT    the same on a screen of that size (the default is 640x480)
#   e2e_set_dpi DPI                      the desktop's scale: Xft.dpi in the server's resources
#   e2e_desktop_scale "DPI SCALE"        e2e_set_dpi DPI and geometry_scale SCALE; DPI and SCALE set
#   E2E_DESKTOP_SCALES                   the scales the window tests try: "192 2" and "144 1.5"
#   e2e_start PROGRAM                    e2e_start_program, then e2e_find_window
#   e2e_start_program COMMAND [FOLDER]   starts COMMAND in FOLDER (default: its own); $E2E_RUN/out, err
#   e2e_start_with COMMAND...            e2e_start_program of PROGRAM, in its folder, run by COMMAND (env, nohup)
#   e2e_find_window                      waits for the window (E2E_WID) and its frame; rests the pointer
#   e2e_track PID                        ends PID at exit, before the X server
# Waiting and reporting
#   e2e_say TEXT                         prints the check about to be made, with the time since start
#   e2e_fail TEXT                        fails the test with TEXT and what the program wrote
#   e2e_wait_for SECONDS COMMAND...      runs COMMAND every 0.05 s until it succeeds; status 1 after SECONDS
#   e2e_now                              the clock in milliseconds, into E2E_NOW
#   e2e_running                          status 0 while the last program started runs
#   e2e_expect_exit SECONDS STATUS WHAT  fails unless that program ends within SECONDS with STATUS
#   e2e_end_xvfb SIGNAL                  ends the private server by its id, the time in E2E_ENDED_XVFB_US
#   e2e_exit_after US                    that program's end, in microseconds after the clock read US, into E2E_AFTER_US
#   e2e_expect_quiet                     fails if it wrote to stdout or stderr
#   e2e_expect_window_size               fails unless the window has the size geometry.sh gives
#   e2e_watch_start                      starts counting the windows created on the screen
#   e2e_watch_stop                       stops counting; the count in E2E_CREATED
# Input, as a person gives it (keys are X keysym names, as xdotool takes them)
#   e2e_key KEY                          a press and release of KEY
#   e2e_hold_key KEY SECONDS             KEY held that long
#   e2e_press KEY COUNT                  KEY pressed COUNT times
#   e2e_type TEXT                        each character of TEXT pressed as a key
#   e2e_chord MODIFIER KEY...            each KEY pressed in turn while MODIFIER is held (Control_L v)
#   e2e_pointer X Y                      the pointer to window pixel X Y
#   e2e_rest_pointer                     the pointer to REST_SPOT, where it covers nothing
#   e2e_click X Y                        a click of the primary button; the pointer stays there
#   e2e_press_button X Y                 the primary button pressed at X Y and held
#   e2e_release_button                   ... and released
#   e2e_click_until X Y COMMAND...       clicks, three times at most, until COMMAND succeeds (else status 1)
#   e2e_pick_row ROW                     clicks ROW until it is the active one
#   e2e_arrow_to KEY ROW                 arrow KEY until the active row moves; fails unless it is ROW
#   e2e_close_request                    a window manager's close request
#   e2e_focus focus-in|focus-out         a window manager's focus change
#   e2e_xdo COMMANDS                     one line of xdotool commands, waited for
#   e2e_xs COMMAND                       one xsend command, its answer in E2E_ANSWER; status 1 on error
# The clipboard, through xclip
#   e2e_clip_set                         offers standard input on the clipboard until another program copies
#   e2e_clip_get                         prints the clipboard's text; status 1 when there is none
#   e2e_clip_is TEXT                     status 0 if the clipboard holds TEXT
# Screenshots (binary PPM files) and what the window shows
#   e2e_shot                             a screenshot into E2E_LAST_SHOT; status 1 if there is none
#   e2e_new_shot                         the same, failing if there is none
#   e2e_keep_shot NAME                   keeps the last shot as NAME
#   e2e_kept NAME                        the shot kept as NAME, into E2E_FILE
#   e2e_pixel_is X Y "R G B"             status 0 if pixel X Y is that colour now; it is in E2E_ANSWER
#   e2e_expect_pixels FILE               fails for each "X Y R G B WHAT" line of stdin that FILE differs at
#   e2e_measure FILE                     each "X1 Y1 X2 Y2 R G B" line of stdin measured (see there)
#   e2e_active_row                       the row with the active fill into E2E_ACTIVE (0: none or several)
#   e2e_active_is ROW                    status 0 if ROW is the active one
#   e2e_same_outside ROW FILE1 FILE2     status 0 if the shots agree outside ROW's band (its cursor blinks)
#   e2e_band_equal ROW FILE1 FILE2       status 0 if the shots agree in the pixel rows of ROW's box
#   e2e_shot_band_like ROW NAME          a new shot; status 0 if it agrees with kept NAME there
#   e2e_settle ROW [FILE]                waits until the window stops changing (first: differs from FILE)
#   e2e_mark                             a shot to compare the next change with, kept as "mark"
#   e2e_checkpoint ROW NAME WHAT ROW:TEXT...  e2e_settle against the mark, then e2e_note NAME ...
#   e2e_note NAME WHAT ROW:TEXT...       keeps the last shot as NAME; notes the texts its inactive rows show
#   e2e_check_texts                      reads every noted text with OCR; fails with all that differ
#   e2e_expect_row same|other ROW NAME1 NAME2 WHAT   fails unless ROW's box is the same (other) in both
#   e2e_expect_row_like ROW NAME WHAT    waits until ROW's box looks as in kept NAME
#   e2e_expect_row_empty ROW WHAT [SECONDS]   waits (5 s unless given) until ROW's box shows no text
#   e2e_read_words FILE PERCENT dark|light BOX...   prints what OCR reads in the boxes, joined by /
#   e2e_magick SECONDS TOOL ARGS...      ImageMagick's convert, compare or import, bounded, either release
# Positions (boxes, rows, buttons, keys, box_middle): geometry.sh.
# At a desktop scale: geometry_scale SCALE turns them into that scale's window pixels.
# From the environment: E2E_KEEP=1 keeps the temporary folder; E2E_FAIL_DIR
# receives the last screenshot of a failed test.

# shellcheck source=tests/e2e/geometry.sh
. "$(dirname "${BASH_SOURCE[0]}")/geometry.sh"

E2E_TITLE='Ravuriradoz syst. liczbowych DHB'

# How long a person holds a key. The program samples the arrow keys and the
# mouse button once a pass, so those are held longer: an arrow as long as a
# person's deliberate tap, which steps once however many passes see it, and
# the button long enough for a pass on a busy machine to see it.
E2E_HOLD=0.05
E2E_ARROW_HOLD=0.15
E2E_CLICK_HOLD=0.08

E2E_XSEND=${E2E_XSEND:-}
E2E_TMP='' E2E_PIDS='' E2E_XVFB_PID='' E2E_PROGRAM_PID='' E2E_ENDED_XVFB_US=0 E2E_AFTER_US=0
E2E_RUN=''    # folder with the current run's pid, out, err and status
E2E_WID='' E2E_LAST_SHOT='' E2E_NOW=0 E2E_START_MS=0
E2E_ANSWER='' # the last answer of xsend
E2E_XDO_IN='' E2E_XDO_OUT='' E2E_XS_IN='' E2E_XS_OUT=''
E2E_FILE='' E2E_CROP='' E2E_OTHERS='' E2E_ACTIVE='' E2E_CREATED=''
E2E_SCREEN='' # the private screen's size, when a test asks for one
declare -A E2E_HASH=() # row hashes of each screenshot
declare -A E2E_KEPT=() # screenshots kept by name
E2E_NOTES=()

# Runs the calling script again under `timeout`, so no run can hang.
e2e_bound() {
    local seconds=$1
    shift
    if [ -z "${E2E_BOUNDED:-}" ]; then
        export E2E_BOUNDED=1
        exec timeout -k 5 "$seconds" bash "$0" "$@"
    fi
}

e2e_begin() {
    local seconds=$1 xsend=$2
    shift 2
    e2e_bound "$seconds" "$@"
    E2E_XSEND=$xsend
    e2e_init
}

e2e_open() {
    e2e_begin "$1" "$3" "${@:2}"
    PROGRAM=$2
    e2e_start_xvfb
}

e2e_now() { E2E_NOW=$((${EPOCHREALTIME/[.,]/} / 1000)); }

e2e_init() {
    e2e_now
    E2E_START_MS=$E2E_NOW
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/ravuriradoz-e2e.XXXXXX")
    trap e2e_cleanup EXIT
    trap 'exit 143' TERM
    trap 'exit 130' INT
    trap '' PIPE # a helper that died shows as a failed write, not a silent end
    [ -x "$E2E_XSEND" ] || e2e_fail "E2E_XSEND does not name the xsend helper"
    local tool
    for tool in Xvfb xdotool xprop xwininfo tesseract od awk cmp; do
        command -v "$tool" >/dev/null || e2e_missing "$tool"
    done
    command -v magick >/dev/null || { command -v convert && command -v compare; } >/dev/null ||
        e2e_missing "ImageMagick (magick, or convert and compare)"
}

e2e_missing() { e2e_fail "$1 is missing: run scripts/install-deps.sh with the test group"; }

# ImageMagick 7 calls itself magick, and its old names (convert, import)
# print a deprecation warning: there TOOL runs as `magick` for convert and
# `magick TOOL` for the others. ImageMagick 6 has only the old names.
e2e_magick() {
    local seconds=$1 tool=$2
    shift 2
    if ! command -v magick >/dev/null; then
        timeout "$seconds" "$tool" "$@"
    elif [ "$tool" = convert ]; then
        timeout "$seconds" magick "$@"
    else
        timeout "$seconds" magick "$tool" "$@"
    fi
}

e2e_say() {
    local ms
    e2e_now
    ms=$((E2E_NOW - E2E_START_MS))
    printf 'check (%d.%02d s): %s\n' $((ms / 1000)) $((ms % 1000 / 10)) "$*"
}

e2e_fail() {
    echo "FAIL: $*" >&2
    if [ -n "$E2E_RUN" ] && [ -e "$E2E_RUN/status" ]; then
        echo "the program has ended, status $(cat "$E2E_RUN/status")" >&2
    fi
    if [ -n "$E2E_RUN" ] && [ -s "$E2E_RUN/err" ]; then
        { echo "program stderr:" && sed 's/^/  /' "$E2E_RUN/err"; } >&2
    fi
    if [ -n "$E2E_LAST_SHOT" ] && [ -n "${E2E_FAIL_DIR:-}" ]; then
        cp "$E2E_LAST_SHOT" "$E2E_FAIL_DIR/" 2>/dev/null || true
    fi
    exit 1
}

e2e_wait_for() {
    local whole=${1%.*} fraction=000 deadline
    [[ $1 != *.* ]] || fraction=${1#*.}000
    shift
    e2e_now
    deadline=$((E2E_NOW + whole * 1000 + 10#${fraction:0:3}))
    while ! "$@"; do
        e2e_now
        [ "$E2E_NOW" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

e2e_track() { E2E_PIDS="$1 $E2E_PIDS"; }

# Ends what this script started, by process id only: newest first, each
# gone before the next, so the X server goes last and no client sees it die.
e2e_cleanup() {
    local pid tries
    for pid in $E2E_PIDS; do
        kill "$pid" 2>/dev/null || continue
        for ((tries = 40; tries > 0; tries--)); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.05
        done
        kill -9 "$pid" 2>/dev/null || true
    done
    [ -z "$E2E_TMP" ] || [ -n "${E2E_KEEP:-}" ] || rm -rf "$E2E_TMP"
}

# A private server on a free display, and the two helpers on it. -noreset
# keeps focus and pointer when a client leaves, so one server serves several
# runs of the program.
e2e_start_xvfb() {
    local fifo server
    # shellcheck source=SCRIPTDIR/../xvfb.sh
    . "${BASH_SOURCE[0]%/*}/../xvfb.sh"
    server=$(mktemp -d "$E2E_TMP/xvfb.XXXX")
    xvfb_start "$server" 15 e2e_track ||
        e2e_fail "Xvfb gave no display number: $(cat "$server/xvfb.log")"
    E2E_XVFB_PID=$XVFB_PID
    # The helpers of an earlier server: their ends of the pipes close here.
    [ -z "$E2E_XDO_IN" ] || exec {E2E_XDO_IN}>&- {E2E_XDO_OUT}<&- {E2E_XS_IN}>&- {E2E_XS_OUT}<&-
    for fifo in xdo.in xdo.out xs.in xs.out; do
        mkfifo "$server/$fifo"
    done
    xdotool - <"$server/xdo.in" >"$server/xdo.out" 2>"$E2E_TMP/xdo.err" &
    e2e_track $!
    "$E2E_XSEND" serve <"$server/xs.in" >"$server/xs.out" 2>"$E2E_TMP/xs.err" &
    e2e_track $!
    exec {E2E_XDO_IN}>"$server/xdo.in" {E2E_XDO_OUT}<"$server/xdo.out"
    exec {E2E_XS_IN}>"$server/xs.in" {E2E_XS_OUT}<"$server/xs.out"
}

# The same as e2e_start_xvfb on a screen of SIZE: xvfb.sh's 640x480 is too
# small for the window at 150 % or 200 %, and the program would cut the
# scale to fit (1.29).
e2e_start_xvfb_sized() {
    local size
    E2E_SCREEN=$1
    XVFB_SCREEN=$1 e2e_start_xvfb
    size=$(xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
    [ "$size" = "$E2E_SCREEN" ] || e2e_fail "the private screen is $size, want $E2E_SCREEN"
}

# Sets Xft.dpi as a desktop scaled to DPI/96 does; the program reads it when
# it starts. Without -nocpp xrdb would want a C preprocessor.
# A desktop at 200 % and one at 150 %, as Xft.dpi and the scale it gives.
E2E_DESKTOP_SCALES=('192 2' '144 1.5')
DPI='' SCALE=''
e2e_desktop_scale() {
    read -r DPI SCALE <<<"$1"
    e2e_set_dpi "$DPI"
    geometry_scale "$SCALE"
}

e2e_set_dpi() {
    command -v xrdb >/dev/null || e2e_missing xrdb
    echo "Xft.dpi: $1" | timeout 10 xrdb -nocpp -merge || e2e_fail "xrdb could not merge Xft.dpi: $1"
    [ "$(timeout 10 xrdb -query | awk '$1 == "Xft.dpi:" { print $2 }')" = "$1" ] ||
        e2e_fail "xrdb -query does not show Xft.dpi: $1"
}

# Runs one line of xdotool commands and waits until it is done: the screen
# size printed after it marks the end (asking for the pointer would look up
# the window under it, which may have just gone away).
e2e_xdo() {
    local line
    printf '%s\ngetdisplaygeometry\n' "$*" 2>/dev/null 1>&"$E2E_XDO_IN" ||
        e2e_fail "xdotool has stopped: $(cat "$E2E_TMP/xdo.err")"
    while :; do
        read -r -t 20 -u "$E2E_XDO_OUT" line ||
            e2e_fail "xdotool did not finish '$*': $(cat "$E2E_TMP/xdo.err")"
        [[ ! $line =~ ^[0-9]+\ [0-9]+$ ]] || return 0
    done
}

# Runs one xsend command; its answer goes to E2E_ANSWER; status 1 on error.
e2e_xs() {
    printf '%s\n' "$*" 2>/dev/null 1>&"$E2E_XS_IN" ||
        e2e_fail "xsend has stopped: $(cat "$E2E_TMP/xs.err")"
    read -r -t 20 -u "$E2E_XS_OUT" E2E_ANSWER ||
        e2e_fail "xsend did not answer '$*': $(cat "$E2E_TMP/xs.err")"
    [ "$E2E_ANSWER" != error ]
}

# Starts COMMAND in FOLDER, run as named there (links and all); without a
# FOLDER, the program in its own folder. Output in $E2E_RUN/out and err.
e2e_start_program() {
    local binary=$1 folder=${2:-} run
    if [ -z "$folder" ]; then
        binary=$(realpath "$1")
        folder=$(dirname "$binary")
    fi
    run=$(mktemp -d "$E2E_TMP/run.XXXX")
    E2E_RUN=$run
    E2E_WID=''
    (
        cd "$folder" || exit 1
        "$binary" >"$run/out" 2>"$run/err" &
        echo $! >"$run/pid"
        status=0
        wait $! || status=$?
        echo "${EPOCHREALTIME/[.,]/}" >"$run/ended"
        echo "$status" >"$run/status.tmp"
        mv "$run/status.tmp" "$run/status"
    ) 5>&- {E2E_XDO_IN}>&- {E2E_XDO_OUT}<&- {E2E_XS_IN}>&- {E2E_XS_OUT}<&- &
    e2e_track $!
    e2e_wait_for 5 test -s "$run/pid" || e2e_fail "the program did not start"
    E2E_PROGRAM_PID=$(cat "$run/pid")
    e2e_track "$E2E_PROGRAM_PID"
}

# The program started by COMMAND..., which execs it, so that its process is
# the program's: `env --default-signal` starts it with every signal at its
# default, as a desktop does, where a script's background job starts with
# SIGINT ignored and inherits this script's ignored SIGPIPE.
e2e_start_with() {
    local file="$E2E_TMP/start-with"
    printf '#!/bin/sh\nexec %s "%s" </dev/null\n' "$*" "$(realpath "$PROGRAM")" >"$file.new"
    chmod +x "$file.new"
    mv "$file.new" "$file"
    e2e_start_program "$file" "$(dirname "$(realpath "$PROGRAM")")"
}

e2e_running() { [ ! -e "$E2E_RUN/status" ]; }

e2e_expect_quiet() {
    [ ! -s "$E2E_RUN/out" ] || e2e_fail "the program wrote to stdout: $(cat "$E2E_RUN/out")"
    [ ! -s "$E2E_RUN/err" ] || e2e_fail "the program wrote to stderr: $(cat "$E2E_RUN/err")"
}

e2e_expect_exit() {
    local status
    e2e_wait_for "$1" test -e "$E2E_RUN/status" || e2e_fail "the program still runs $1 s later"
    status=$(cat "$E2E_RUN/status")
    [ "$status" = "$2" ] || e2e_fail "$3: exit status $status, want $2"
}

# The server goes as a crash or a logout takes it, under its clients: the
# moment just before the signal is sent is kept, in microseconds.
e2e_end_xvfb() {
    E2E_ENDED_XVFB_US=${EPOCHREALTIME/[.,]/}
    kill -s "$1" "$E2E_XVFB_PID"
}

# The time that program ended, as the shell that started it saw it end; the
# program must have ended.
e2e_exit_after() {
    E2E_AFTER_US=$(($(cat "$E2E_RUN/ended") - $1))
}

e2e_expect_window_size() {
    local size
    size=$(xwininfo -id "$E2E_WID" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
    [ "$size" = "${WINDOW_WIDTH}x$WINDOW_HEIGHT" ] ||
        e2e_fail "the window is $size, want ${WINDOW_WIDTH}x$WINDOW_HEIGHT"
}

e2e_find_title() {
    E2E_WID=$(xdotool search --name "^${E2E_TITLE//./\\.}\$" 2>/dev/null | head -n1)
    [ -n "$E2E_WID" ]
}

e2e_frame_drawn() { e2e_pixel_is 5 5 "$COLOR_BACKGROUND"; }
# Finds the window by its exact title, waits for its first frame, and rests
# the pointer on an empty spot of the panel: keys reach the window only while
# the pointer is inside it.
e2e_find_window() {
    e2e_wait_for 15 e2e_find_title || e2e_fail "no window titled '$E2E_TITLE'"
    e2e_wait_for 15 e2e_frame_drawn || e2e_fail "window $E2E_WID shows no frame"
    e2e_rest_pointer
}

e2e_start() { e2e_start_program "$@" && e2e_find_window; }

e2e_pointer() { e2e_xdo mousemove --window "$E2E_WID" "$1" "$2"; }
e2e_rest_pointer() { e2e_pointer "${REST_SPOT[@]}"; }

e2e_hold_key() { e2e_xdo keydown "$1" sleep "$2" keyup "$1"; }
e2e_key() { e2e_hold_key "$1" "$E2E_HOLD"; }
e2e_chord() {
    local modifier=$1 key chain=''
    shift
    [ -z "$modifier" ] || chain="keydown $modifier"
    for key; do chain+=" keydown $key sleep $E2E_HOLD keyup $key sleep 0.03"; done
    [ -z "$modifier" ] || chain+=" keyup $modifier"
    e2e_xdo "$chain"
}
e2e_taps() { e2e_chord '' "$@"; }
e2e_press() {
    local i keys=()
    for ((i = 0; i < $2; i++)); do keys+=("$1"); done
    e2e_taps "${keys[@]}"
}
e2e_type() {
    local i keys=()
    for ((i = 0; i < ${#1}; i++)); do keys+=("${1:i:1}"); done
    e2e_taps "${keys[@]}"
}

e2e_press_button() { e2e_xdo mousemove --window "$E2E_WID" "$1" "$2" sleep 0.05 mousedown 1 "${@:3}"; }
e2e_click() { e2e_press_button "$1" "$2" sleep "$E2E_CLICK_HOLD" mouseup 1; }
e2e_release_button() { e2e_xdo mouseup 1; }

# xclip stays in the foreground (-quiet) so that it is ended by its id; it
# ends by itself once another program takes the clipboard. Not to be run in
# a pipeline, whose subshell would keep the id.
e2e_clip_set() {
    command -v xclip >/dev/null || e2e_missing xclip
    cat >"$E2E_TMP/clip"
    xclip -quiet -selection clipboard <"$E2E_TMP/clip" >>"$E2E_TMP/xclip.log" 2>&1 &
    e2e_track $!
}
e2e_clip_get() { timeout 3 xclip -o -selection clipboard 2>/dev/null; }
e2e_clip_is() { [ "$(e2e_clip_get)" = "$1" ]; }

e2e_close_request() { e2e_xs close "$E2E_WID" || e2e_fail "xsend could not send a close request"; }
e2e_focus() { e2e_xs "$1" "$E2E_WID" || e2e_fail "xsend could not send $1"; }

# xsend answers a screenshot with its row hashes, kept in E2E_HASH.
e2e_shot() {
    local file="$E2E_TMP/shot-$((${#E2E_HASH[@]} + 1)).ppm"
    e2e_xs shot "$E2E_WID" "$file" || return 1
    E2E_HASH[$file]=$E2E_ANSWER
    E2E_LAST_SHOT=$file
}
e2e_new_shot() { e2e_shot || e2e_fail "cannot take a screenshot of window $E2E_WID"; }

e2e_keep_shot() { E2E_KEPT[$1]=$E2E_LAST_SHOT; }
e2e_kept() {
    E2E_FILE=${E2E_KEPT[$1]:-}
    [ -n "$E2E_FILE" ] || e2e_fail "no screenshot kept as $1"
}

# Tells whether screenshots FILE1 and FILE2 agree in pixel rows FROM to TO-1.
e2e_rows_equal() {
    local -a first second
    read -ra first <<<"${E2E_HASH[$1]}"
    read -ra second <<<"${E2E_HASH[$2]}"
    [ "${first[*]:$3:$(($4 - $3))}" = "${second[*]:$3:$(($4 - $3))}" ]
}

# A row's band: the pixel rows its box, label, cursor and button touch.
e2e_same_outside() {
    e2e_rows_equal "$2" "$3" 0 $((ROW_TOP[$1] - 4)) &&
        e2e_rows_equal "$2" "$3" $((ROW_TOP[$1] + 24)) "$WINDOW_HEIGHT"
}

e2e_pixel_is() { e2e_xs pixels "$E2E_WID" "$1" "$2" && [ "$E2E_ANSWER" = "$3" ]; }

# Prints pixel rows FROM to TO-1 of screenshot FILE (a binary PPM as xsend
# writes it), a line of "R G B R G B ..." numbers each.
e2e_pixel_rows() {
    local header row=$((WINDOW_WIDTH * 3))
    printf -v header 'P6\n%d %d\n255\n' "$WINDOW_WIDTH" "$WINDOW_HEIGHT"
    od -An -tu1 -v -w"$row" -j $((${#header} + $2 * row)) -N $((($3 - $2) * row)) "$1"
}

# All pixels at once, each wrong one reported.
e2e_expect_pixels() {
    local table="$E2E_TMP/pixels" wrong
    cat >"$table"
    wrong=$(e2e_pixel_rows "$1" 0 "$WINDOW_HEIGHT" | awk '
        NR == FNR { n++; X[n] = $1; Y[n] = $2; C[n] = $3 " " $4 " " $5
                    W[n] = $0; for (k = 0; k < 5; k++) sub(/^[^ ]+ +/, "", W[n]); next }
        { for (i = 1; i <= n; i++) if (Y[i] == FNR - 1) {
              got = $(3 * X[i] + 1) " " $(3 * X[i] + 2) " " $(3 * X[i] + 3)
              if (got != C[i]) printf "%s: pixel (%d,%d) is (%s), want (%s)\n", W[i], X[i], Y[i], got, C[i]
          } }' "$table" -)
    [ -z "$wrong" ] || e2e_fail "$wrong"
}

# Measures boxes of FILE in one pass: each input line "X1 Y1 X2 Y2 R G B" is
# answered, in order, by "SAME OTHER LEFT RIGHT TOP BOTTOM": the counts of
# pixels of that colour and of others, and the bounds of the others ("-": none).
e2e_measure() {
    local queries="$E2E_TMP/queries" first last
    cat >"$queries"
    read -r first last < <(awk 'NR == 1 || $2 < f { f = $2 } NR == 1 || $4 > l { l = $4 }
                                END { print f, l }' "$queries")
    e2e_pixel_rows "$1" "$first" "$last" |
        awk -v first="$first" '
        NR == FNR { n++; X1[n] = $1; Y1[n] = $2; X2[n] = $3; Y2[n] = $4
                    C[n] = $5 " " $6 " " $7; next }
        { y = first + FNR - 1
          for (i = 1; i <= n; i++) if (y >= Y1[i] && y < Y2[i]) {
              for (x = X1[i]; x < X2[i]; x++) {
                  if ($(3 * x + 1) " " $(3 * x + 2) " " $(3 * x + 3) == C[i]) { same[i]++; continue }
                  if (other[i]++ == 0) { L[i] = R[i] = x; T[i] = B[i] = y }
                  if (x < L[i]) L[i] = x
                  if (x > R[i]) R[i] = x
                  B[i] = y
              } } }
        END { for (i = 1; i <= n; i++)
                  if (other[i]) print same[i] + 0, other[i], L[i], R[i], T[i], B[i]
                  else print same[i] + 0, 0, "-", "-", "-", "-" }' "$queries" -
}

# BOX as ImageMagick's crop geometry, in E2E_CROP.
e2e_crop() {
    local x1 y1 x2 y2
    read -r x1 y1 x2 y2 <<<"$1"
    E2E_CROP="$((x2 - x1))x$((y2 - y1))+$x1+$y1"
}

e2e_band_equal() {
    local top end
    read -r _ top _ end <<<"${ROW_BOX[$1]}"
    e2e_rows_equal "$2" "$3" "$top" "$end"
}
e2e_shot_band_like() { e2e_shot && e2e_kept "$2" && e2e_band_equal "$1" "$E2E_FILE" "$E2E_LAST_SHOT"; }

# Prints how many pixels of ROW's box differ between kept shots NAME1, NAME2.
e2e_row_diff() {
    local first count
    e2e_kept "$2"
    first=$E2E_FILE
    e2e_kept "$3"
    e2e_crop "${ROW_BOX[$1]}"
    count=$(e2e_magick 20 compare -metric AE "${first}[$E2E_CROP]" "${E2E_FILE}[$E2E_CROP]" null: 2>&1) || true
    case $count in
    '' | *[!0-9]*) e2e_fail "compare failed on $first and $E2E_FILE: $count" ;;
    esac
    echo "$count"
}

e2e_expect_row() {
    local count
    count=$(e2e_row_diff "$2" "$3" "$4")
    if [ "$1" = same ]; then
        [ "$count" -eq 0 ] || e2e_fail "$5: row $2 differs in $count pixels between $3 and $4"
    else
        [ "$count" -gt 0 ] || e2e_fail "$5: row $2 shows the same pixels in $3 and $4"
    fi
}

# Waits 5 s at most until ROW, inactive, looks as in kept shot NAME: the same
# text reached another way.
e2e_expect_row_like() {
    e2e_wait_for 5 e2e_shot_band_like "$1" "$2" || {
        e2e_keep_shot last
        e2e_fail "$3: row $1 differs from $2 in $(e2e_row_diff "$1" "$2" last) pixels"
    }
}

# Waits until ROW, inactive, shows no text at all: 5 s, or SECONDS.
e2e_shot_row_empty() {
    e2e_shot || return 1
    read -r _ E2E_OTHERS _ < <(echo "${ROW_BOX[$1]} $COLOR_MID_TEAL" | e2e_measure "$E2E_LAST_SHOT")
    [ "$E2E_OTHERS" -eq 0 ]
}
e2e_expect_row_empty() {
    e2e_wait_for "${3:-5}" e2e_shot_row_empty "$1" ||
        e2e_fail "$2: row $1 still shows $E2E_OTHERS pixels of text"
}

e2e_active_row() {
    local fills row spots=() x2 y2 lit=0
    # Spots near each box's lower right corner, clear of text and cursor.
    for row in 1 2 3; do
        read -r _ _ x2 y2 <<<"${ROW_BOX[row]}"
        spots+=($((x2 - 3)) $((y2 - 2)))
    done
    e2e_xs pixels "$E2E_WID" "${spots[@]}" || return 1
    IFS=, read -ra fills <<<"$E2E_ANSWER"
    E2E_ACTIVE=0
    for row in 1 2 3; do
        [ "${fills[row - 1]}" != "$COLOR_FIELD_FILL" ] || { lit=$((lit + 1)) && E2E_ACTIVE=$row; }
    done
    [ "$lit" -eq 1 ] || E2E_ACTIVE=0
}

e2e_active_is() { e2e_active_row && [ "$E2E_ACTIVE" = "$1" ]; }
e2e_active_moved_from() { e2e_active_row && [ "$E2E_ACTIVE" != "$1" ]; }

# A press of an arrow or the button that no pass saw (the machine kept the
# program off the processor for the whole hold) is made again, three times
# at most. The caller checks what it did, so a press that acted twice fails.

# Presses arrow KEY until the active row moves; fails unless ROW is the
# active one a moment later (a press steps once, however long a pass sees it).
e2e_arrow_to() {
    local key=$1 row=$2 from attempt
    e2e_wait_for 5 e2e_active_row || e2e_fail "cannot read the active row"
    from=$E2E_ACTIVE
    for attempt in 1 2 3; do
        e2e_hold_key "$key" "$E2E_ARROW_HOLD"
        ! e2e_wait_for 1.5 e2e_active_moved_from "$from" || break
        echo "note: $key press $attempt was not seen, pressing again"
    done
    sleep 0.3
    e2e_active_row
    [ "$E2E_ACTIVE" = "$row" ] || e2e_fail "$key from row $from: row $E2E_ACTIVE is active, want $row"
}

e2e_click_until() {
    local x=$1 y=$2 attempt
    shift 2
    for attempt in 1 2 3; do
        e2e_click "$x" "$y"
        e2e_rest_pointer
        ! e2e_wait_for 1.5 "$@" || return 0
        echo "note: click $attempt at ($x,$y) had no effect yet, clicking again"
    done
    return 1
}

e2e_pick_row() {
    box_middle "${ROW_HIT[$1]}"
    e2e_click_until "$MIDDLE_X" "$MIDDLE_Y" e2e_active_is "$1" ||
        e2e_fail "a click on row $1 left row $E2E_ACTIVE active"
}

e2e_mark() { e2e_new_shot && e2e_keep_shot mark; }

e2e_shot_differs_outside() { e2e_shot && ! e2e_same_outside "$1" "$2" "$E2E_LAST_SHOT"; }

# Waits until three shots in a row, 0.1 s apart, agree outside the band of
# the active ROW; with REFERENCE (a file), first until the window differs
# from it there. The last shot is the settled picture.
e2e_settle() {
    local row=$1 previous='' same=0 deadline
    if [ -n "${2:-}" ]; then
        e2e_wait_for 5 e2e_shot_differs_outside "$row" "$2" || e2e_fail "the window did not change within 5 s"
    fi
    e2e_now
    deadline=$((E2E_NOW + 5000))
    while [ "$same" -lt 2 ]; do
        e2e_now
        [ "$E2E_NOW" -lt "$deadline" ] || e2e_fail "the window did not settle in 5 s"
        sleep 0.1
        e2e_new_shot
        same=$((same + 1))
        { [ -n "$previous" ] && e2e_same_outside "$row" "$previous" "$E2E_LAST_SHOT"; } || same=0
        previous=$E2E_LAST_SHOT
    done
}

e2e_checkpoint() {
    e2e_kept mark
    e2e_settle "$1" "$E2E_FILE"
    e2e_note "${@:2}"
}

# Texts are read with OCR once, at the end: starting tesseract costs far more
# than the reading, so every noted box is stacked into one picture. Each box
# is enlarged and cut at 45 % grey, leaving dark ink on white (both field
# fills are lighter), then trimmed and framed anew: tesseract misses a lone
# digit in a wide empty box. At a desktop scale the text is larger already
# and is enlarged less, so that tesseract sees glyphs of the size it reads
# well at 96 dpi: three times as large, whatever the scale.

e2e_note() {
    local name=$1 what=$2 item
    shift 2
    e2e_keep_shot "$name"
    for item in "$@"; do
        E2E_NOTES+=("$E2E_LAST_SHOT ${item%%:*} ${item#*:} $what")
    done
}

# Prints what OCR reads (0-9, A-F) in each "FILE ROW" input line, a line each.
e2e_read_boxes() {
    local file row crops=() out="$E2E_TMP/ocr-$RANDOM.png"
    while read -r file row; do
        e2e_crop "${ROW_BOX[row]}"
        crops+=(\( "$file" -crop "$E2E_CROP" +repage -colorspace Gray
            -resize $((300000 / GEOMETRY_MILLI))% -threshold 45% -trim +repage -bordercolor white -border 30 \))
    done
    e2e_magick 30 convert "${crops[@]}" -background white -gravity west -append "$out" ||
        e2e_fail "convert could not prepare the boxes for OCR"
    OMP_THREAD_LIMIT=1 timeout 60 tesseract "$out" - --psm 6 \
        -c tessedit_char_whitelist=0123456789ABCDEF 2>/dev/null | tr -d ' \f' | awk 'NF'
}

e2e_check_texts() {
    local count=${#E2E_NOTES[@]} lines wrong='' i file row text what
    [ "$count" -gt 0 ] || return 0
    mapfile -t lines < <(printf '%s\n' "${E2E_NOTES[@]}" | cut -d' ' -f1,2 | e2e_read_boxes)
    if [ "${#lines[@]}" -ne "$count" ]; then
        # Lines ran together or a box was empty: read them one by one.
        lines=()
        for i in "${!E2E_NOTES[@]}"; do
            lines+=("$(cut -d' ' -f1,2 <<<"${E2E_NOTES[i]}" | e2e_read_boxes | paste -sd' ')")
        done
    fi
    for i in "${!E2E_NOTES[@]}"; do
        read -r file row text what <<<"${E2E_NOTES[i]}"
        [ "${lines[i]}" = "$text" ] ||
            wrong+=$'\n'"  $what: row $row reads '${lines[i]}', want '$text' ($(basename "$file"))"
    done
    [ -z "$wrong" ] || e2e_fail "texts read back wrong:$wrong"
}

# Prints the lines OCR reads in boxes "X1 Y1 X2 Y2" of FILE, joined by "/",
# the boxes stacked, enlarged and cut at PERCENT grey. SHADE "light" reads
# light text on a dark ground: the boxes are negated before the cut.
e2e_read_words() {
    local file=$1 percent=$2 shade=$3 out="$1.words.png" box
    shift 3
    local crops=() flip=()
    [ "$shade" = light ] && flip=(-negate)
    for box in "$@"; do
        e2e_crop "$box"
        crops+=(\( -clone 0 -crop "$E2E_CROP" +repage "${flip[@]}" \))
    done
    e2e_magick 20 convert "$file" "${crops[@]}" -delete 0 -background white -splice 0x10 -append \
        -colorspace Gray -resize 400% -threshold "$percent%" -bordercolor white -border 20 "$out" ||
        e2e_fail "convert could not prepare $file for OCR"
    OMP_THREAD_LIMIT=1 timeout 60 tesseract "$out" - --psm 6 -l eng 2>/dev/null |
        awk 'NF' | paste -sd /
}

# Counts the windows created on the screen until e2e_watch_stop closes
# descriptor 5 (which programs started meanwhile must not inherit).
e2e_watch_start() {
    local control="$E2E_TMP/watch.in"
    rm -f "$control" "$E2E_TMP/watch.out"
    mkfifo "$control"
    timeout 30 "$E2E_XSEND" watch-creates 20000 <"$control" >"$E2E_TMP/watch.out" \
        2>"$E2E_TMP/watch.err" &
    e2e_track $!
    exec 5>"$control"
    e2e_wait_for 5 grep -q '^ready$' "$E2E_TMP/watch.out" ||
        e2e_fail "the window watcher did not start"
}

e2e_watch_stop() {
    exec 5>&-
    e2e_wait_for 5 grep -q '^[0-9]' "$E2E_TMP/watch.out" ||
        e2e_fail "the window watcher gave no count"
    E2E_CREATED=$(grep '^[0-9]' "$E2E_TMP/watch.out")
}

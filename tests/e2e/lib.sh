# shellcheck shell=bash disable=SC2034 # the E2E_ variables are read by the scripts that source this
# Shared steps of the end-to-end scripts: a private X server, the program in
# a real window, input given as a person gives it, and screenshots to check.
#
# Source it from bash after `set -eu`, then:
#   e2e_bound SECONDS "$@"   # the whole script under `timeout`
#   E2E_XSEND=/path/to/xsend # the helper built beside the tests
#   e2e_init; e2e_start_xvfb; e2e_start PROGRAM
# Every wait here is bounded. Coordinates are window pixels; a box
# X1 Y1 X2 Y2 holds the pixels with X1 <= x < X2 and Y1 <= y < Y2, the way a
# filled rectangle colours them. Functions that find something out leave it
# in an E2E_ variable rather than printing it, which would cost a process.
#
# On a busy machine starting a process costs tens of milliseconds, more than
# most checks, so xdotool and xsend each run once, as helpers that take
# commands line by line.

E2E_TITLE='Ravuriradoz syst. liczbowych DHB'
E2E_WIDTH=496
E2E_HEIGHT=190

# How long a person holds a key. The program samples the arrow keys and the
# mouse button once a pass, so those are held a little longer: long enough
# for a pass on a busy machine to see them, short of the 0.11 s that would
# give an arrow two steps.
E2E_HOLD=0.05
E2E_ARROW_HOLD=0.07
E2E_CLICK_HOLD=0.08

E2E_XSEND=${E2E_XSEND:-}
E2E_TMP=''
E2E_PIDS=''        # everything this script started, killed at exit
E2E_XVFB_PID=''
E2E_PROGRAM_PID='' # the program of the current run
E2E_RUN=''         # folder with the current run's pid, stdout, stderr, status
E2E_WID=''         # the program's window
E2E_STATUS=''      # exit status, after e2e_wait_exit
E2E_SHOTS=0
E2E_LAST_SHOT=''
E2E_NOW=0          # milliseconds, after e2e_now
E2E_ANSWER=''      # the last answer of the xsend helper
E2E_XDO_IN=''      # descriptors of the two helpers
E2E_XDO_OUT=''
E2E_XS_IN=''
E2E_XS_OUT=''
declare -A E2E_HASH=() # row hashes of each screenshot
declare -A E2E_KEPT=() # screenshots kept by name

# --- the script itself ------------------------------------------------------

# Runs the calling script again under `timeout`, so no run can hang.
e2e_bound() {
    local seconds=$1
    shift
    if [ -z "${E2E_BOUNDED:-}" ]; then
        export E2E_BOUNDED=1
        exec timeout -k 5 "$seconds" bash "$0" "$@"
    fi
}

# The opening the test scripts share: bound the whole run to SECONDS, take
# the program and the xsend helper from the command line, start a private
# X server. Usage: e2e_open SECONDS PROGRAM XSEND
e2e_open() {
    e2e_bound "$@"
    PROGRAM=$2
    E2E_XSEND=$3
    e2e_init
    e2e_start_xvfb
}

e2e_now() {
    local now=${EPOCHREALTIME/[.,]/}
    E2E_NOW=$((now / 1000))
}

E2E_START_MS=0
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
    for tool in Xvfb xdotool xprop xwininfo convert compare tesseract od awk cmp; do
        command -v "$tool" >/dev/null ||
            e2e_fail "$tool is missing: run scripts/install-deps.sh with the test group"
    done
}

e2e_say() {
    e2e_now
    local ms=$((E2E_NOW - E2E_START_MS))
    printf 'check (%d.%02d s): %s\n' $((ms / 1000)) $((ms % 1000 / 10)) "$*"
}

e2e_fail() {
    echo "FAIL: $*" >&2
    if [ -n "$E2E_RUN" ] && [ -e "$E2E_RUN/status" ]; then
        echo "the program has ended, status $(cat "$E2E_RUN/status")" >&2
    fi
    if [ -n "$E2E_RUN" ] && [ -s "$E2E_RUN/err" ]; then
        echo "program stderr:" >&2
        sed 's/^/  /' "$E2E_RUN/err" >&2
    fi
    if [ -n "$E2E_LAST_SHOT" ] && [ -n "${E2E_FAIL_DIR:-}" ]; then
        cp "$E2E_LAST_SHOT" "$E2E_FAIL_DIR/" 2>/dev/null || true
    fi
    exit 1
}

# Polls COMMAND every 0.05 s until it succeeds; status 1 once SECONDS have
# passed.
e2e_wait_for() {
    local seconds=$1 fraction=000 deadline
    shift
    if [[ $seconds == *.* ]]; then
        fraction=${seconds#*.}000
    fi
    e2e_now
    deadline=$((E2E_NOW + ${seconds%.*} * 1000 + 10#${fraction:0:3}))
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
        tries=40
        while kill -0 "$pid" 2>/dev/null && [ "$tries" -gt 0 ]; do
            sleep 0.05
            tries=$((tries - 1))
        done
        kill -9 "$pid" 2>/dev/null || true
    done
    if [ -n "$E2E_TMP" ] && [ -z "${E2E_KEEP:-}" ]; then
        rm -rf "$E2E_TMP"
    fi
}

# --- server, helpers and program --------------------------------------------

# A private server on a free display, and the two helpers on it. -noreset
# keeps focus and pointer when a client leaves, so one server serves several
# runs of the program.
e2e_start_xvfb() {
    local number="$E2E_TMP/display"
    : >"$number"
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 640x480x24 \
        3>"$number" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    e2e_track "$E2E_XVFB_PID"
    e2e_wait_for 15 grep -q '^[0-9]' "$number" ||
        e2e_fail "Xvfb gave no display number: $(cat "$E2E_TMP/xvfb.log")"
    DISPLAY=":$(head -n1 "$number")"
    export DISPLAY
    e2e_start_helpers
}

e2e_start_helpers() {
    local fifo
    for fifo in xdo.in xdo.out xs.in xs.out; do
        mkfifo "$E2E_TMP/$fifo"
    done
    xdotool - <"$E2E_TMP/xdo.in" >"$E2E_TMP/xdo.out" 2>"$E2E_TMP/xdo.err" &
    e2e_track $!
    "$E2E_XSEND" serve <"$E2E_TMP/xs.in" >"$E2E_TMP/xs.out" 2>"$E2E_TMP/xs.err" &
    e2e_track $!
    exec {E2E_XDO_IN}>"$E2E_TMP/xdo.in" {E2E_XDO_OUT}<"$E2E_TMP/xdo.out"
    exec {E2E_XS_IN}>"$E2E_TMP/xs.in" {E2E_XS_OUT}<"$E2E_TMP/xs.out"
}

# Runs one line of xdotool commands and waits until it is done: the screen
# size xdotool prints after it marks the end (asking for the pointer would
# also look up the window under it, which may have just gone away).
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

# Runs one xsend command; its answer goes to E2E_ANSWER. Status 1 when the
# command failed.
e2e_xs() {
    printf '%s\n' "$*" 2>/dev/null 1>&"$E2E_XS_IN" ||
        e2e_fail "xsend has stopped: $(cat "$E2E_TMP/xs.err")"
    read -r -t 20 -u "$E2E_XS_OUT" E2E_ANSWER ||
        e2e_fail "xsend did not answer '$*': $(cat "$E2E_TMP/xs.err")"
    [ "$E2E_ANSWER" != error ]
}

# Starts BINARY in the background with FOLDER (default: its own folder) as
# working directory; its output goes to $E2E_RUN/out and $E2E_RUN/err.
e2e_start_program() {
    local binary folder run
    binary=$(realpath "$1")
    folder=${2:-$(dirname "$binary")}
    run=$(mktemp -d "$E2E_TMP/run.XXXX")
    E2E_RUN=$run
    E2E_STATUS=''
    E2E_WID=''
    (
        cd "$folder" || exit 1
        "$binary" >"$run/out" 2>"$run/err" &
        echo $! >"$run/pid"
        status=0
        wait $! || status=$?
        echo "$status" >"$run/status.tmp"
        mv "$run/status.tmp" "$run/status"
    ) 5>&- {E2E_XDO_IN}>&- {E2E_XDO_OUT}<&- {E2E_XS_IN}>&- {E2E_XS_OUT}<&- &
    e2e_track $!
    e2e_wait_for 5 test -s "$run/pid" || e2e_fail "the program did not start"
    E2E_PROGRAM_PID=$(cat "$run/pid")
    e2e_track "$E2E_PROGRAM_PID"
}

e2e_running() { [ ! -e "$E2E_RUN/status" ]; }

# Waits at most SECONDS for the program to end; its status goes to E2E_STATUS.
e2e_wait_exit() {
    e2e_wait_for "$1" test -e "$E2E_RUN/status" ||
        e2e_fail "the program still runs $1 s later"
    E2E_STATUS=$(cat "$E2E_RUN/status")
}

# Fails unless the program ends within SECONDS with status WANT.
e2e_expect_exit() {
    e2e_wait_exit "$1"
    [ "$E2E_STATUS" = "$2" ] || e2e_fail "$3: exit status $E2E_STATUS, want $2"
}

e2e_find_title() {
    E2E_WID=$(xdotool search --name "^${E2E_TITLE//./\\.}\$" 2>/dev/null | head -n1)
    [ -n "$E2E_WID" ]
}

e2e_frame_drawn() { e2e_pixel_is 5 5 '10 100 100'; }

# Finds the window by its exact title, waits for its first frame, and rests
# the pointer on an empty spot of the panel: keys reach the window only while
# the pointer is inside it.
e2e_find_window() {
    e2e_wait_for 15 e2e_find_title || e2e_fail "no window titled '$E2E_TITLE'"
    e2e_wait_for 15 e2e_frame_drawn || e2e_fail "window $E2E_WID shows no frame"
    e2e_rest_pointer
}

# Starts the program and waits for its window.
e2e_start() {
    e2e_start_program "$@"
    e2e_find_window
}

# --- input ------------------------------------------------------------------

e2e_pointer() { e2e_xdo mousemove --window "$E2E_WID" "$1" "$2"; }

# An empty spot of the panel, away from rows, buttons and keys.
e2e_rest_pointer() { e2e_pointer 60 110; }

# Presses and releases a key (an X keysym name), held as a person holds it.
e2e_key() { e2e_hold_key "$1" "$E2E_HOLD"; }

# Presses an arrow key (Up, Down) once, for one step.
e2e_arrow() { e2e_hold_key "$1" "$E2E_ARROW_HOLD"; }

# Holds a key down for SECONDS.
e2e_hold_key() { e2e_xdo keydown "$1" sleep "$2" keyup "$1"; }

# Presses KEY COUNT times.
e2e_press() {
    local i chain=''
    for ((i = 0; i < $2; i++)); do
        chain+=" keydown $1 sleep $E2E_HOLD keyup $1 sleep 0.03"
    done
    e2e_xdo "$chain"
}

# Types each character of TEXT (digits and letters) as its own key press.
e2e_type() {
    local text=$1 i chain=''
    for ((i = 0; i < ${#text}; i++)); do
        chain+=" keydown ${text:i:1} sleep $E2E_HOLD keyup ${text:i:1} sleep 0.03"
    done
    e2e_xdo "$chain"
}

# Clicks the primary button at X Y; the pointer stays there.
e2e_click() {
    e2e_xdo mousemove --window "$E2E_WID" "$1" "$2" sleep 0.05 \
        mousedown 1 sleep "$E2E_CLICK_HOLD" mouseup 1
}

# Presses the primary button at X Y and keeps it down, for e2e_release.
e2e_press_button() { e2e_xdo mousemove --window "$E2E_WID" "$1" "$2" sleep 0.05 mousedown 1; }
e2e_release_button() { e2e_xdo mouseup 1; }

# Sends the window a close request, as a window manager's close box does,
# or a focus change (focus-out, focus-in).
e2e_close_request() { e2e_xs close "$E2E_WID" || e2e_fail "xsend could not send a close request"; }
e2e_focus() { e2e_xs "$1" "$E2E_WID" || e2e_fail "xsend could not send $1"; }

# --- pictures ---------------------------------------------------------------

# Screenshot of the window as a binary PPM, named in E2E_LAST_SHOT; its row
# hashes go to E2E_HASH. Status 1 when the window cannot be read.
e2e_shot() {
    E2E_SHOTS=$((E2E_SHOTS + 1))
    local file="$E2E_TMP/shot-$E2E_SHOTS.ppm"
    e2e_xs shot "$E2E_WID" "$file" || return 1
    E2E_HASH[$file]=$E2E_ANSWER
    E2E_LAST_SHOT=$file
}

e2e_new_shot() { e2e_shot || e2e_fail "cannot take a screenshot of window $E2E_WID"; }

# Keeps the last screenshot under NAME; e2e_kept NAME gives it back in E2E_FILE.
e2e_keep_shot() { E2E_KEPT[$1]=$E2E_LAST_SHOT; }

E2E_FILE=''
e2e_kept() {
    E2E_FILE=${E2E_KEPT[$1]:-}
    [ -n "$E2E_FILE" ] || e2e_fail "no screenshot kept as $1"
}

# Tells whether screenshots FILE1 and FILE2 have the same pixel rows FROM to
# TO (exclusive), by their hashes.
e2e_rows_equal() {
    local -a first second
    read -ra first <<<"${E2E_HASH[$1]}"
    read -ra second <<<"${E2E_HASH[$2]}"
    [ "${first[*]:$3:$(($4 - $3))}" = "${second[*]:$3:$(($4 - $3))}" ]
}

# The band of ROW: the rows its box, label, cursor and button can touch.
e2e_band() { E2E_BAND=($((4 + 28 * $1)) $((32 + 28 * $1))); }

# Tells whether FILE1 and FILE2 agree everywhere but the band of ROW, where
# the cursor of an active row blinks.
e2e_same_outside() {
    e2e_band "$1"
    e2e_rows_equal "$2" "$3" 0 "${E2E_BAND[0]}" &&
        e2e_rows_equal "$2" "$3" "${E2E_BAND[1]}" "$E2E_HEIGHT"
}

e2e_pixel_header() { E2E_HEADER=$(printf 'P6\n%d %d\n255\n' "$E2E_WIDTH" "$E2E_HEIGHT" | wc -c); }
e2e_pixel_header

# Prints the pixel rows of FILE, one line of R G B numbers per row.
e2e_rows() { od -An -tu1 -v -w$((E2E_WIDTH * 3)) -j "$E2E_HEADER" "$1"; }

# Tells whether pixel X Y of the window has colour "R G B" now; the colour
# seen is left in E2E_PIXEL.
E2E_PIXEL=''
e2e_pixel_is() {
    e2e_xs pixels "$E2E_WID" "$1" "$2" || return 1
    E2E_PIXEL=$E2E_ANSWER
    [ "$E2E_PIXEL" = "$3" ]
}

# Prints "R G B" of pixel X Y of FILE.
e2e_pixel() {
    od -An -tu1 -v -j $((E2E_HEADER + ($3 * E2E_WIDTH + $2) * 3)) -N 3 "$1" |
        awk '{ print $1, $2, $3 }'
}

# Checks many pixels of FILE at once; each line of standard input reads
# "X Y R G B WHAT", and every pixel of another colour is reported.
e2e_expect_pixels() {
    local table="$E2E_TMP/pixels" wrong
    cat >"$table"
    wrong=$(e2e_rows "$1" | awk '
        NR == FNR { n++; X[n] = $1; Y[n] = $2; C[n] = $3 " " $4 " " $5
                    W[n] = $0; for (k = 0; k < 5; k++) sub(/^[^ ]+ +/, "", W[n]); next }
        { for (i = 1; i <= n; i++) if (Y[i] == FNR - 1) {
              got = $(3 * X[i] + 1) " " $(3 * X[i] + 2) " " $(3 * X[i] + 3)
              if (got != C[i]) printf "%s: pixel (%d,%d) is (%s), want (%s)\n", W[i], X[i], Y[i], got, C[i]
          } }' "$table" -)
    [ -z "$wrong" ] || e2e_fail "$wrong"
}

# Measures boxes of FILE in one pass. Each line of standard input asks
# "X1 Y1 X2 Y2 R G B"; each line printed answers one, in order, with
# "SAME OTHER LEFT RIGHT TOP BOTTOM": how many pixels of the box have that
# colour, how many have not, and the bounds of the latter ("-" when none).
e2e_measure() {
    local queries="$E2E_TMP/queries" first last row=$((E2E_WIDTH * 3))
    cat >"$queries"
    read -r first last < <(awk 'NR == 1 || $2 < f { f = $2 } NR == 1 || $4 > l { l = $4 }
                                END { print f, l }' "$queries")
    od -An -tu1 -v -w"$row" -j $((E2E_HEADER + first * row)) -N $(((last - first) * row)) "$1" |
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

# Prints how many pixels differ between two images of the same size; a name
# may end in an ImageMagick crop such as "[150x20+130+35]".
e2e_diff_count() {
    local count
    count=$(timeout 20 compare -metric AE "$1" "$2" null: 2>&1) || true
    case $count in
    '' | *[!0-9]*) e2e_fail "compare failed on $1 and $2: $count" ;;
    esac
    echo "$count"
}

# --- field rows -------------------------------------------------------------

# The interior of each row's box, where its text stands: row 1 decimal,
# 2 hexadecimal, 3 binary. Left in E2E_BOX as X1 Y1 X2 Y2.
e2e_row_box() {
    case $1 in
    1) E2E_BOX=(131 36 279 56) ;;
    2) E2E_BOX=(131 64 279 84) ;;
    3) E2E_BOX=(131 92 462 112) ;;
    *) e2e_fail "no row $1" ;;
    esac
}

# Tells whether screenshots FILE1 and FILE2 agree in the pixel rows of ROW's
# box, across the whole window.
e2e_band_equal() {
    e2e_row_box "$1"
    e2e_rows_equal "$2" "$3" "${E2E_BOX[1]}" "${E2E_BOX[3]}"
}

e2e_shot_band_like() { e2e_shot && e2e_kept "$2" && e2e_band_equal "$1" "$E2E_FILE" "$E2E_LAST_SHOT"; }

# Prints how many pixels of ROW's box differ between kept screenshots NAME1
# and NAME2.
e2e_row_diff() {
    local first second geometry
    e2e_kept "$2"
    first=$E2E_FILE
    e2e_kept "$3"
    second=$E2E_FILE
    e2e_row_box "$1"
    geometry="[$((E2E_BOX[2] - E2E_BOX[0]))x$((E2E_BOX[3] - E2E_BOX[1]))+${E2E_BOX[0]}+${E2E_BOX[1]}]"
    e2e_diff_count "$first$geometry" "$second$geometry"
}

# Fails unless ROW's box shows the same pixels in kept screenshots NAME1 and
# NAME2.
e2e_expect_same_row() {
    local count
    count=$(e2e_row_diff "$1" "$2" "$3")
    [ "$count" -eq 0 ] || e2e_fail "$4: row $1 differs in $count pixels between $2 and $3"
}

# Fails unless ROW's box shows different pixels in kept screenshots NAME1
# and NAME2.
e2e_expect_other_row() {
    local count
    count=$(e2e_row_diff "$1" "$2" "$3")
    [ "$count" -gt 0 ] || e2e_fail "$4: row $1 shows the same pixels in $2 and $3"
}

# Waits until ROW, inactive, looks as it does in kept screenshot NAME: the
# same text reached another way. Fails after 5 s.
e2e_expect_row_like() {
    local row=$1 name=$2 what=$3
    e2e_wait_for 5 e2e_shot_band_like "$row" "$name" || {
        e2e_keep_shot last
        e2e_fail "$what: row $row differs from $name in $(e2e_row_diff "$row" "$name" last) pixels"
    }
}

# Waits until ROW, inactive, shows no text at all.
E2E_OTHERS=''
e2e_shot_row_empty() {
    e2e_shot || return 1
    e2e_row_box "$1"
    read -r _ E2E_OTHERS _ < <(echo "${E2E_BOX[*]} 60 160 160" | e2e_measure "$E2E_LAST_SHOT")
    [ "$E2E_OTHERS" -eq 0 ]
}

e2e_expect_row_empty() {
    e2e_wait_for 5 e2e_shot_row_empty "$1" ||
        e2e_fail "$2: row $1 still shows $E2E_OTHERS pixels of text"
}

# Puts in E2E_ACTIVE the row whose box has the active fill on the screen now
# (1 decimal, 2 hexadecimal, 3 binary), 0 for none or several.
E2E_ACTIVE=''
e2e_active_row() {
    local on='100 200 200' decimal hex binary
    # Spots near each box's lower right corner, clear of text and cursor.
    e2e_xs pixels "$E2E_WID" 275 54 275 82 459 110 || return 1
    IFS=, read -r decimal hex binary <<<"$E2E_ANSWER"
    E2E_ACTIVE=0
    if [ "$decimal" = "$on" ] && [ "$hex" != "$on" ] && [ "$binary" != "$on" ]; then
        E2E_ACTIVE=1
    elif [ "$decimal" != "$on" ] && [ "$hex" = "$on" ] && [ "$binary" != "$on" ]; then
        E2E_ACTIVE=2
    elif [ "$decimal" != "$on" ] && [ "$hex" != "$on" ] && [ "$binary" = "$on" ]; then
        E2E_ACTIVE=3
    fi
}

e2e_active_is() { e2e_active_row && [ "$E2E_ACTIVE" = "$1" ]; }

# Waits until ROW is the active one, and it alone.
e2e_expect_active() {
    e2e_wait_for 5 e2e_active_is "$1" ||
        e2e_fail "$2: the active row is $E2E_ACTIVE, want $1 (0: none or several)"
}

# A press of an arrow key or the mouse button that no pass of the program
# saw, on a machine busy enough to keep it off the processor for the whole
# hold, is made again, at most three times in all. What the press did is
# checked by the caller, so a press that acted twice still fails.

# Presses arrow KEY and waits until ROW is the active one, and still is a
# moment later (a held arrow steps once per pass that sees it).
e2e_arrow_to() {
    local key=$1 row=$2 from attempt
    e2e_wait_for 5 e2e_active_row || e2e_fail "cannot read the active row"
    from=$E2E_ACTIVE
    for attempt in 1 2 3; do
        e2e_arrow "$key"
        ! e2e_wait_for 1.5 e2e_active_moved_from "$from" || break
        echo "note: $key press $attempt was not seen, pressing again"
    done
    sleep 0.3
    e2e_active_row
    [ "$E2E_ACTIVE" = "$row" ] || e2e_fail "$key from row $from: row $E2E_ACTIVE is active, want $row"
}

e2e_active_moved_from() { e2e_active_row && [ "$E2E_ACTIVE" != "$1" ]; }

# Clicks at X Y until COMMAND succeeds, the pointer resting after each click.
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

# --- waiting for the program to catch up --------------------------------------

# Takes a screenshot to compare the next change with (see e2e_settle).
e2e_mark() {
    e2e_new_shot
    e2e_keep_shot mark
}

e2e_shot_differs_outside() { e2e_shot && ! e2e_same_outside "$1" "$2" "$E2E_LAST_SHOT"; }

# Waits until three screenshots in a row, 0.1 s apart, agree outside the band
# of the active ROW; with REFERENCE (a file), first until the window differs
# from it there. The last screenshot is the settled picture.
e2e_settle() {
    local row=$1 reference=${2:-} previous='' same=0 deadline
    if [ -n "$reference" ]; then
        e2e_wait_for 5 e2e_shot_differs_outside "$row" "$reference" ||
            e2e_fail "the window did not change within 5 s"
    fi
    e2e_now
    deadline=$((E2E_NOW + 5000))
    while [ "$same" -lt 2 ]; do
        e2e_now
        [ "$E2E_NOW" -lt "$deadline" ] || e2e_fail "the window did not settle in 5 s"
        sleep 0.1
        e2e_new_shot
        if [ -n "$previous" ] && e2e_same_outside "$row" "$previous" "$E2E_LAST_SHOT"; then
            same=$((same + 1))
        else
            same=0
        fi
        previous=$E2E_LAST_SHOT
    done
}

# After some input: waits until the window, outside the band of the ACTIVE
# row, differs from the e2e_mark shot and has settled; keeps that shot as
# NAME and notes the texts ROW:TEXT it must show, WHAT saying how it came.
e2e_checkpoint() {
    local active=$1 name=$2 what=$3
    shift 3
    e2e_kept mark
    e2e_settle "$active" "$E2E_FILE"
    e2e_note "$name" "$what" "$@"
}

# --- reading texts ------------------------------------------------------------

# Texts are read with OCR once, at the end of a script: a run of tesseract
# costs far more than the reading, so every box noted on the way is stacked
# into one picture and read in one go. Each box is smoothly enlarged and cut
# at 45 % grey, which leaves the dark ink on white (both field fills are
# lighter), then trimmed to its text and framed anew, since tesseract misses
# a lone digit in a wide empty box.
E2E_NOTES=()

# Keeps the last screenshot as NAME and notes the texts ROW:TEXT that its
# inactive rows show.
e2e_note() {
    local name=$1 what=$2 item
    shift 2
    e2e_keep_shot "$name"
    for item in "$@"; do
        E2E_NOTES+=("$E2E_LAST_SHOT ${item%%:*} ${item#*:} $what")
    done
}

# Prints what OCR reads (0-9, A-F) in each "FILE ROW" line of standard input,
# one line each.
e2e_read_boxes() {
    local file row crops=() out="$E2E_TMP/ocr-$RANDOM.png"
    while read -r file row; do
        e2e_row_box "$row"
        crops+=(\( "$file"
            -crop "$((E2E_BOX[2] - E2E_BOX[0]))x$((E2E_BOX[3] - E2E_BOX[1]))+${E2E_BOX[0]}+${E2E_BOX[1]}"
            +repage -colorspace Gray
            -resize 300% -threshold 45% -trim +repage -bordercolor white -border 30 \))
    done
    timeout 30 convert "${crops[@]}" -background white -gravity west -append "$out" ||
        e2e_fail "convert could not prepare the boxes for OCR"
    OMP_THREAD_LIMIT=1 timeout 60 tesseract "$out" - --psm 6 \
        -c tessedit_char_whitelist=0123456789ABCDEF 2>/dev/null | tr -d ' \f' | awk 'NF'
}

# Reads every noted box and fails with all those that show another text.
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

# Prints the lines of words OCR reads in boxes of FILE, joined by "/": the
# boxes "X1 Y1 X2 Y2" are stacked with gaps, enlarged, cut at PERCENT grey
# and read as one block. SHADE "light" reads light text on a dark ground by
# negating the boxes first, so PERCENT applies to the negative.
e2e_read_words() {
    local file=$1 percent=$2 shade=$3 out="$1.words.png" box x1 y1 x2 y2
    shift 3
    local crops=() flip=()
    [ "$shade" = light ] && flip=(-negate)
    for box in "$@"; do
        read -r x1 y1 x2 y2 <<<"$box"
        crops+=(\( -clone 0 -crop "$((x2 - x1))x$((y2 - y1))+$x1+$y1" +repage "${flip[@]}" \))
    done
    timeout 20 convert "$file" "${crops[@]}" -delete 0 -background white -splice 0x10 -append \
        -colorspace Gray -resize 400% -threshold "$percent%" -bordercolor white -border 20 "$out" ||
        e2e_fail "convert could not prepare $file for OCR"
    OMP_THREAD_LIMIT=1 timeout 60 tesseract "$out" - --psm 6 -l eng 2>/dev/null |
        awk 'NF' | paste -sd /
}

# --- new windows ------------------------------------------------------------

# Starts counting the windows created on the screen, until e2e_watch_stop
# closes descriptor 5; programs started meanwhile must not inherit it.
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

# Puts in E2E_CREATED how many windows were created since e2e_watch_start.
E2E_CREATED=''
e2e_watch_stop() {
    exec 5>&-
    e2e_wait_for 5 grep -q '^[0-9]' "$E2E_TMP/watch.out" ||
        e2e_fail "the window watcher gave no count"
    E2E_CREATED=$(grep '^[0-9]' "$E2E_TMP/watch.out")
}

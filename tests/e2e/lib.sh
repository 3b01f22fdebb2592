# shellcheck shell=bash disable=SC2034 # the E2E_ variables are read by the scripts that source this
# Shared steps of the end-to-end scripts: a private X server, the program in
# a real window, input given as a person gives it, and screenshots to check.
# Source it after `set -eu`, then: e2e_open SECONDS PROGRAM XSEND; e2e_start PROGRAM.
# Every wait is bounded. A box X1 Y1 X2 Y2 holds the window pixels with
# X1 <= x < X2 and Y1 <= y < Y2. Results go to E2E_ variables, not stdout, and
# xdotool and xsend run once as line-by-line helpers: on a busy machine
# starting a process costs more than most checks.

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
E2E_TMP='' E2E_PIDS='' E2E_XVFB_PID='' E2E_PROGRAM_PID=''
E2E_RUN=''    # folder with the current run's pid, out, err and status
E2E_WID='' E2E_STATUS='' E2E_SHOTS=0 E2E_LAST_SHOT='' E2E_NOW=0 E2E_START_MS=0
E2E_ANSWER='' # the last answer of xsend
E2E_XDO_IN='' E2E_XDO_OUT='' E2E_XS_IN='' E2E_XS_OUT=''
E2E_FILE='' E2E_PIXEL='' E2E_OTHERS='' E2E_ACTIVE='' E2E_CREATED=''
E2E_HEADER=$(printf 'P6\n%d %d\n255\n' "$E2E_WIDTH" "$E2E_HEIGHT" | wc -c)
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

e2e_open() {
    e2e_bound "$@"
    PROGRAM=$2 E2E_XSEND=$3
    e2e_init
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
    for tool in Xvfb xdotool xprop xwininfo convert compare tesseract od awk cmp; do
        command -v "$tool" >/dev/null ||
            e2e_fail "$tool is missing: run scripts/install-deps.sh with the test group"
    done
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

# Polls COMMAND every 0.05 s; status 1 once SECONDS have passed.
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
    local fifo
    # shellcheck source=SCRIPTDIR/../xvfb.sh
    . "${BASH_SOURCE[0]%/*}/../xvfb.sh"
    xvfb_start "$E2E_TMP" 15 e2e_track ||
        e2e_fail "Xvfb gave no display number: $(cat "$E2E_TMP/xvfb.log")"
    E2E_XVFB_PID=$XVFB_PID
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

# Fails if the last program started wrote anything.
e2e_expect_quiet() {
    [ ! -s "$E2E_RUN/out" ] || e2e_fail "the program wrote to stdout: $(cat "$E2E_RUN/out")"
    [ ! -s "$E2E_RUN/err" ] || e2e_fail "the program wrote to stderr: $(cat "$E2E_RUN/err")"
}

# Fails unless the program ends within SECONDS with status WANT.
e2e_expect_exit() {
    e2e_wait_for "$1" test -e "$E2E_RUN/status" || e2e_fail "the program still runs $1 s later"
    E2E_STATUS=$(cat "$E2E_RUN/status")
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

e2e_start() { e2e_start_program "$@" && e2e_find_window; }

e2e_pointer() { e2e_xdo mousemove --window "$E2E_WID" "$1" "$2"; }
# An empty spot of the panel, away from rows, buttons and keys.
e2e_rest_pointer() { e2e_pointer 60 110; }

# Keys are X keysym names. e2e_hold_key KEY SECONDS; e2e_key KEY as a person
# presses it; e2e_press KEY COUNT; e2e_type TEXT, each character a key.
e2e_hold_key() { e2e_xdo keydown "$1" sleep "$2" keyup "$1"; }
e2e_key() { e2e_hold_key "$1" "$E2E_HOLD"; }
e2e_taps() {
    local key chain=''
    for key; do chain+=" keydown $key sleep $E2E_HOLD keyup $key sleep 0.03"; done
    e2e_xdo "$chain"
}
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

# The primary button at X Y: pressed (e2e_press_button), or clicked; the
# pointer stays there.
e2e_press_button() { e2e_xdo mousemove --window "$E2E_WID" "$1" "$2" sleep 0.05 mousedown 1 "${@:3}"; }
e2e_click() { e2e_press_button "$1" "$2" sleep "$E2E_CLICK_HOLD" mouseup 1; }
e2e_release_button() { e2e_xdo mouseup 1; }

# What a window manager sends: a close request, a focus change (focus-out, focus-in).
e2e_close_request() { e2e_xs close "$E2E_WID" || e2e_fail "xsend could not send a close request"; }
e2e_focus() { e2e_xs "$1" "$E2E_WID" || e2e_fail "xsend could not send $1"; }

# Screenshot of the window as a binary PPM, named in E2E_LAST_SHOT; its row
# hashes go to E2E_HASH. Status 1 when the window cannot be read.
e2e_shot() {
    local file="$E2E_TMP/shot-$((E2E_SHOTS += 1)).ppm"
    e2e_xs shot "$E2E_WID" "$file" || return 1
    E2E_HASH[$file]=$E2E_ANSWER
    E2E_LAST_SHOT=$file
}
e2e_new_shot() { e2e_shot || e2e_fail "cannot take a screenshot of window $E2E_WID"; }

# Keeps the last screenshot under NAME; e2e_kept NAME gives it back in E2E_FILE.
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

# Tells whether FILE1 and FILE2 agree outside the band of ROW (the rows its
# box, label, cursor and button touch), where an active row's cursor blinks.
e2e_same_outside() {
    e2e_rows_equal "$2" "$3" 0 $((4 + 28 * $1)) &&
        e2e_rows_equal "$2" "$3" $((32 + 28 * $1)) "$E2E_HEIGHT"
}

# Tells whether pixel X Y of the window is "R G B" now, seen left in E2E_PIXEL.
e2e_pixel_is() {
    e2e_xs pixels "$E2E_WID" "$1" "$2" || return 1
    E2E_PIXEL=$E2E_ANSWER
    [ "$E2E_PIXEL" = "$3" ]
}

# Checks many pixels of FILE at once; each line of standard input reads
# "X Y R G B WHAT", and every pixel of another colour is reported.
e2e_expect_pixels() {
    local table="$E2E_TMP/pixels" wrong
    cat >"$table"
    wrong=$(od -An -tu1 -v -w$((E2E_WIDTH * 3)) -j "$E2E_HEADER" "$1" | awk '
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

# The interior of a row's box, where its text stands (1 decimal,
# 2 hexadecimal, 3 binary), in E2E_BOX as X1 Y1 X2 Y2; its crop in E2E_CROP.
e2e_row_box() {
    case $1 in
    1) E2E_BOX=(131 36 279 56) ;;
    2) E2E_BOX=(131 64 279 84) ;;
    3) E2E_BOX=(131 92 462 112) ;;
    *) e2e_fail "no row $1" ;;
    esac
    E2E_CROP="$((E2E_BOX[2] - E2E_BOX[0]))x$((E2E_BOX[3] - E2E_BOX[1]))+${E2E_BOX[0]}+${E2E_BOX[1]}"
}

# Tells whether FILE1 and FILE2 agree in the pixel rows of ROW's box.
e2e_band_equal() { e2e_row_box "$1" && e2e_rows_equal "$2" "$3" "${E2E_BOX[1]}" "${E2E_BOX[3]}"; }
e2e_shot_band_like() { e2e_shot && e2e_kept "$2" && e2e_band_equal "$1" "$E2E_FILE" "$E2E_LAST_SHOT"; }

# Prints how many pixels of ROW's box differ between kept shots NAME1, NAME2.
e2e_row_diff() {
    local first count
    e2e_kept "$2"
    first=$E2E_FILE
    e2e_kept "$3"
    e2e_row_box "$1"
    count=$(timeout 20 compare -metric AE "${first}[$E2E_CROP]" "${E2E_FILE}[$E2E_CROP]" null: 2>&1) || true
    case $count in
    '' | *[!0-9]*) e2e_fail "compare failed on $first and $E2E_FILE: $count" ;;
    esac
    echo "$count"
}

# e2e_expect_row same|other ROW NAME1 NAME2 WHAT: fails unless ROW's box shows
# the same (other) pixels in kept shots NAME1 and NAME2.
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

# Waits until ROW, inactive, shows no text at all.
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

# Puts in E2E_ACTIVE the row whose box has the active fill now (1 decimal,
# 2 hexadecimal, 3 binary), 0 for none or several.
e2e_active_row() {
    local fills i lit=0
    # Spots near each box's lower right corner, clear of text and cursor.
    e2e_xs pixels "$E2E_WID" 275 54 275 82 459 110 || return 1
    IFS=, read -ra fills <<<"$E2E_ANSWER"
    E2E_ACTIVE=0
    for i in 0 1 2; do
        [ "${fills[i]}" != '100 200 200' ] || { lit=$((lit + 1)) && E2E_ACTIVE=$((i + 1)); }
    done
    [ "$lit" -eq 1 ] || E2E_ACTIVE=0
}

e2e_active_is() { e2e_active_row && [ "$E2E_ACTIVE" = "$1" ]; }
e2e_active_moved_from() { e2e_active_row && [ "$E2E_ACTIVE" != "$1" ]; }

# A press of an arrow or the button that no pass saw (the machine kept the
# program off the processor for the whole hold) is made again, three times
# at most. The caller checks what it did, so a press that acted twice fails.

# Presses arrow KEY until the active row moves; fails unless ROW is the
# active one a moment later (a held arrow steps once per pass that sees it).
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

# Takes a screenshot to compare the next change with (see e2e_settle).
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

# After some input: e2e_settle ACTIVE against the e2e_mark shot, then notes
# the settled shot as NAME with the texts ROW:TEXT it must show.
e2e_checkpoint() {
    e2e_kept mark
    e2e_settle "$1" "$E2E_FILE"
    e2e_note "${@:2}"
}

# Texts are read with OCR once, at the end: starting tesseract costs far more
# than the reading, so every noted box is stacked into one picture. Each box
# is enlarged and cut at 45 % grey, leaving dark ink on white (both field
# fills are lighter), then trimmed and framed anew: tesseract misses a lone
# digit in a wide empty box.

# Keeps the last shot as NAME and notes the texts ROW:TEXT its inactive rows show.
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
        e2e_row_box "$row"
        crops+=(\( "$file" -crop "$E2E_CROP" +repage -colorspace Gray
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

# Prints the lines OCR reads in boxes "X1 Y1 X2 Y2" of FILE, joined by "/",
# the boxes stacked, enlarged and cut at PERCENT grey. SHADE "light" reads
# light text on a dark ground: the boxes are negated before the cut.
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

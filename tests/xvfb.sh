# shellcheck shell=bash
# A private X server on a free display, for the end-to-end tests and the
# benchmarks. -noreset keeps focus and pointer when a client leaves, so one
# server serves several runs of the program.

# xvfb_start FOLDER SECONDS [TRACK]: starts the server, its log in
# FOLDER/xvfb.log, and sets XVFB_PID at once (and gives it to the command
# TRACK), so that the caller can end it whatever happens next. Waits up to
# SECONDS for the server to name its display, then exports DISPLAY. Status 1
# when it named none in time or ended first; the log says why. The screen is
# XVFB_SCREEN pixels, 640x480 unless set: a window at a desktop scale of 1.5
# or 2 needs a larger one, or the program cuts the scale to fit.
xvfb_start() {
    local number="$1/display" deadline
    : >"$number"
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${XVFB_SCREEN:-640x480}x24" \
        3>"$number" >"$1/xvfb.log" 2>&1 &
    XVFB_PID=$!
    [ $# -lt 3 ] || "$3" "$XVFB_PID"
    deadline=$((${EPOCHREALTIME/[.,]/} / 1000 + $2 * 1000))
    until grep -q '^[0-9]' "$number"; do
        kill -0 "$XVFB_PID" 2>/dev/null || return 1
        [ $((${EPOCHREALTIME/[.,]/} / 1000)) -lt "$deadline" ] || return 1
        sleep 0.05
    done
    DISPLAY=":$(head -n1 "$number")"
    export DISPLAY
}

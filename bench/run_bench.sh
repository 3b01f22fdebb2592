#!/bin/bash
# Runs the benchmarks of a Release build under a private Xvfb, prints one
# table and writes it, with the date and the processor, to a Markdown file.
#
# Usage: bench/run_bench.sh BUILD_DIR RESULTS_FILE
# Knobs: BENCH_ONLY (sections to run, comma-separated names from `sections`
# below: only their rows are printed, and RESULTS_FILE is left as it is),
# BENCH_RUNS (launches of the binary, 5), BENCH_KEYS (key presses a launch,
# 4), BENCH_PASSES (drawn passes a notation, at each scale, 2000),
# BENCH_IDLE (seconds of idle CPU, 10), BENCH_PASTES (pastes in one launch,
# 20).
#
# The program follows the desktop's scale, which it reads from the X
# server's resources at start-up. Sections 2 and 4 also launch it at scale 2,
# as a desktop at 200 % sets it (Xft.dpi 192): the resource is set on the
# server before such a launch and removed again after it, so that every
# other launch finds none, as on a desktop at 100 %.
#
# A section is one function, section_NAME, that runs its programs and adds
# its rows to the table: a new benchmark is such a function and its name in
# `sections`.
set -eu

# shellcheck source=SCRIPTDIR/../tests/xvfb.sh
. "$(dirname "$0")/../tests/xvfb.sh"

sections="own_code drawing binary startup allocations copy_paste" # the table's order
# The screen has room for the window at scale 2, 992 x 380: on a smaller one
# the program cuts the scale to what fits.
screen=1280x1024
scaled_dpi=192 # a desktop at 200 %
scale=2        # the window's scale there

build=$(cd "$1" && pwd)
results=$2
only=${BENCH_ONLY:-}
bench=$build/bench
runs=${BENCH_RUNS:-5}
keys=${BENCH_KEYS:-4}
passes=${BENCH_PASSES:-2000}
idle_seconds=${BENCH_IDLE:-10}
pastes=${BENCH_PASTES:-20}
own_copy_passes=200000 # idle passes of the own code in each clipboard state
drawn_rounds=4         # launches of the drawing bench at each scale, alternating
settle_seconds=2

work=$(mktemp -d)
XVFB_PID=""
probe_pid=""
rows="$work/rows"

cleanup() {
    if [ -n "$probe_pid" ]; then
        kill "$probe_pid" 2>/dev/null || true
    fi
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

say() {
    echo "bench: $*" >&2
}

# ---- numbers ----

# median, min and max of the numbers on standard input, one a line
stats() {
    sort -g | awk '{ v[NR] = $1 }
        END { if (NR == 0) { print "- - -"; exit }
              m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
              printf "%.1f %.1f %.1f\n", m, v[1], v[NR] }'
}

median() {
    stats | cut -d' ' -f1
}

# NS nanoseconds as a share of US microseconds
share() {
    awk -v ns="$1" -v us="$2" 'BEGIN { printf "%.3f %%\n", ns / (us * 1000) * 100 }'
}

# value of key=value on a line of the probe
field() {
    tr ' ' '\n' | sed -n "s/^$1=//p"
}

# measure, result, then the words of the note
row() {
    local measure=$1 result=$2
    shift 2
    printf '| %s | %s | %s |\n' "$measure" "$result" "$*" >>"$rows"
}

section() {
    printf '| **%s** | | |\n' "$*" >>"$rows"
}

# user and system CPU of a process, in clock ticks
cpu_ticks() {
    sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

# resident memory of a process in MB: VmHWM (peak) or VmRSS (now)
memory_mb() {
    awk -v key="$2:" '$1 == key { printf "%.1f\n", $2 / 1024 }' "/proc/$1/status"
}

# keep LINE KEY:FILE...: appends the value of each KEY on the probe's LINE
# to its FILE
keep() {
    local line=$1 pair
    shift
    for pair in "$@"; do
        echo "$line" | field "${pair%%:*}" >>"$work/${pair#*:}"
    done
}

fmt_stats() {
    read -r m lo hi
    printf 'median %s %s (min %s, max %s)' "$m" "$1" "$lo" "$hi"
}

# A over B, two decimals
ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f\n", a / b }'
}

# ---- the desktop's scale ----

# desktop_scale 1|$scale: the scale the next launch finds on the server, as
# the desktop sets it: Xft.dpi $scaled_dpi, or no resource at all for 1.
desktop_scale() {
    if [ "$1" = 1 ]; then
        xrdb -nocpp -remove
    else
        echo "Xft.dpi: $scaled_dpi" | xrdb -nocpp -merge
    fi
}

# the two scales in the order of ROUND: each goes first every other round,
# so that neither is always the one that follows the other
scales_of_round() {
    if (($1 % 2)); then
        echo "1 $scale"
    else
        echo "$scale 1"
    fi
}

# ---- 1. the program's own code ----

own_ns() {
    awk -v name="$1" '$1 == name { printf "%.0f\n", $2 }' "$work/own"
}

section_own_code() {
    local notation kind pass_ns draw_us
    say "own code (Google Benchmark)"
    "$bench/own_code_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        --benchmark_min_time=0.2 --benchmark_format=csv 2>/dev/null |
        awk -F, '$1 ~ /_median"$/ { gsub(/"/, "", $1); sub(/_median$/, "", $1); print $1, $4 }' \
            >"$work/own"
    drawn_passes
    section "1. The program's own code, silent library (Google Benchmark, CPU time, median of 5)"
    for notation in decimal hexadecimal binary; do
        row "convertEditText, $notation, longest text" "$(own_ns "convertEditText/$notation") ns" ""
    done
    for notation in decimal hexadecimal binary; do
        row "editStep, typed character, $notation, full field" \
            "$(own_ns "editStep/$notation") ns" ""
    done
    for notation in decimal hexadecimal binary; do
        draw_us=$(awk -v n="$notation" '$1 == 1 && $2 == n { print $3 }' "$work/drawing")
        for kind in idle typing; do
            pass_ns=$(own_ns "pass/$kind/$notation")
            row "one pass, $kind, $notation" "$pass_ns ns" \
                "$(share "$pass_ns" "$draw_us") of the same pass drawn (goal under 2 %)"
        done
    done
}

# ---- 2. the loop's pass with the real library ----

# drawn_launch PART COUNT SCALE: one launch of the drawing bench with the
# desktop at SCALE, its passes a line each behind the scale
drawn_launch() {
    local out first
    desktop_scale "$3"
    out=$(cd "$build" && "$bench/drawing_bench" "$1" "$2") || {
        say "drawing_bench $1 at scale $3 failed"
        exit 1
    }
    desktop_scale 1
    first=${out%%$'\n'*}
    if [ "$first" != "scale $3" ]; then
        say "drawing_bench: the desktop's scale $3 came out as $first"
        exit 1
    fi
    echo "$out" | tail -n +2 | sed "s/^/$3 /"
}

# Sections 1 and 6 compare with these passes too: they are measured once a
# run. The scales alternate launch by launch; each launch takes its share of
# the passes, and the figures are read off all of a scale's passes at once.
drawn_passes() {
    local share=$(((passes + drawn_rounds - 1) / drawn_rounds)) round one
    if [ ! -s "$work/drawing" ]; then
        say "the loop's pass with the real library, $passes passes a notation at scales 1" \
            "and $scale, in $drawn_rounds launches of each"
        for round in $(seq "$drawn_rounds"); do
            for one in $(scales_of_round "$round"); do
                drawn_launch notations "$share" "$one" >>"$work/drawn"
            done
        done
        "$bench/pass_figures" <"$work/drawn" >"$work/drawing"
    fi
}

section_drawing() {
    local notation med p99 allocations base
    drawn_passes
    section "2. The loop's pass with the real library under Xvfb, its rests left out" \
        "($((drawn_rounds * ((passes + drawn_rounds - 1) / drawn_rounds))) passes a notation at" \
        "each scale, from $drawn_rounds launches of each, the scales alternating)"
    for notation in decimal hexadecimal binary; do
        read -r _ _ med p99 allocations < <(grep "^1 $notation " "$work/drawing")
        base=$med
        row "one pass, $notation" "median $med µs, 99th percentile $p99 µs" \
            "heap allocations a pass (mean), all in the library: $allocations"
        read -r _ _ med p99 allocations < <(grep "^$scale $notation " "$work/drawing")
        row "one pass, $notation, scale $scale ($scaled_dpi dpi)" \
            "median $med µs, 99th percentile $p99 µs" \
            "$(ratio "$med" "$base") times the median at scale 1; heap allocations a pass" \
            "(mean), all in the library: $allocations"
    done
}

# ---- 3. the shipped binary from outside ----

# starts the binary under the probe, with the shader cache folder given or
# the usual one; fills launch_line and program_pid
launch_binary() {
    local cache=${1:-}
    # emptied here, not by the redirection below: that happens in the child,
    # maybe after the wait below has read the last launch's line
    : >"$work/launch"
    (cd "$build" && exec env ${cache:+MESA_SHADER_CACHE_DIR="$cache"} \
        "$bench/screen_probe" launch ./ravuriradoz) >"$work/launch" &
    probe_pid=$!
    # the probe gives up by itself, and says why; a second deadline here
    # could fall first on a loaded machine and hide that
    until grep -q painted_ms "$work/launch"; do
        kill -0 "$probe_pid" 2>/dev/null || break
        sleep 0.05
    done
    launch_line=$(grep painted_ms "$work/launch") || {
        local status=0
        wait "$probe_pid" || status=$?
        probe_pid=""
        say "the window did not show its first frame (probe status $status)"
        exit 1
    }
    program_pid=$(echo "$launch_line" | field pid)
}

# the binary, with the pointer on an empty spot of its window and a moment
# to settle, ready for keys
launch_settled() {
    launch_binary
    xdotool search --name 'Ravuriradoz' mousemove --window %1 10 180 >/dev/null
    sleep "$settle_seconds"
}

stop_binary() {
    xdotool keydown Escape
    sleep 0.1
    xdotool keyup Escape
    for _ in $(seq 50); do
        kill -0 "$probe_pid" 2>/dev/null || break
        sleep 0.1
    done
    # the probe is still the program's parent, so its pid is still the program's
    if kill -0 "$probe_pid" 2>/dev/null; then
        say "the program did not end on Escape"
        kill "$program_pid" 2>/dev/null || true
    fi
    wait "$probe_pid" || say "the program did not end with status 0"
    probe_pid=""
}

# the probe's WORDS at a random moment of the loop's pass; its line in
# probe_line, status 1 when it saw nothing change
probe_at_random() {
    sleep "0.$((200 + RANDOM % 300))"
    probe_line=$("$bench/screen_probe" "$@") || {
        say "screen_probe $*: not shown"
        return 1
    }
}

measure_idle() {
    local program_before server_before
    program_before=$(cpu_ticks "$program_pid")
    server_before=$(cpu_ticks "$XVFB_PID")
    sleep "$idle_seconds"
    local tick
    tick=$(getconf CLK_TCK)
    echo "$(($(cpu_ticks "$program_pid") - program_before))" |
        awk -v t="$tick" -v s="$idle_seconds" '{ printf "%.1f\n", 100 * $1 / t / s }' \
            >>"$work/cpu_program"
    echo "$(($(cpu_ticks "$XVFB_PID") - server_before))" |
        awk -v t="$tick" -v s="$idle_seconds" '{ printf "%.1f\n", 100 * $1 / t / s }' \
            >>"$work/cpu_server"
}

shipped_binary() {
    say "the shipped binary: $runs launches, ${idle_seconds} s idle and $keys keys each"
    local run cell
    for run in $(seq "$runs"); do
        launch_settled
        keep "$launch_line" painted_ms:painted mapped_ms:mapped cpu_ms:launch_cpu \
            waiting_ms:launch_waiting
        measure_idle
        # presses 8 `keys` times, each at a random moment of the loop's pass
        for cell in $(seq 0 $((keys - 1))); do
            if probe_at_random key 8 "$cell"; then
                keep "$probe_line" shown_ms:key_ms poll_us:key_poll
            fi
        done
        memory_mb "$program_pid" VmHWM >>"$work/rss_peak"
        memory_mb "$program_pid" VmRSS >>"$work/rss_final"
        stop_binary
        say "run $run: first frame $(tail -n1 "$work/painted") ms"
    done
}

# The first launch after installing: Mesa's shader cache is empty, so every
# shader variant of the first frame is compiled.
cold_launches() {
    say "the shipped binary: $runs launches with an empty shader cache"
    local run
    for run in $(seq "$runs"); do
        launch_binary "$work/cache$run"
        keep "$launch_line" painted_ms:cold_painted cpu_ms:cold_cpu
        stop_binary
    done
}

section_binary() {
    local presses poll
    shipped_binary
    cold_launches
    presses=$(wc -l <"$work/key_ms")
    poll=$(median <"$work/key_poll")
    section "3. The shipped binary under Xvfb ($runs launches)"
    row "launch to first painted frame" "$(stats <"$work/painted" | fmt_stats ms)" \
        "goal under 80 ms; reference 80 to 327 ms"
    row "CPU used by then, all threads" "$(stats <"$work/launch_cpu" | fmt_stats ms)" \
        "waiting for a core meanwhile: median $(median <"$work/launch_waiting") ms"
    row "launch to window mapped" "$(stats <"$work/mapped" | fmt_stats ms)" ""
    row "launch to first painted frame, empty shader cache" \
        "$(stats <"$work/cold_painted" | fmt_stats ms)" \
        "first launch after installing; CPU median $(median <"$work/cold_cpu") ms"
    row "key press to digit on screen" "$(stats <"$work/key_ms" | fmt_stats ms)" \
        "goal under 30 ms; reference 2.7 to 98 ms; $presses presses, a screenshot every $poll µs"
    row "idle CPU, program (${idle_seconds} s)" \
        "$(stats <"$work/cpu_program" | fmt_stats '% of a core')" "reference 0 to 0.2 %"
    row "idle CPU, X server (same ${idle_seconds} s)" \
        "$(stats <"$work/cpu_server" | fmt_stats '% of a core')" ""
    row "peak resident memory" "$(stats <"$work/rss_peak" | fmt_stats MB)" \
        "reference 83 to 180 MB"
    row "final resident memory" "$(stats <"$work/rss_final" | fmt_stats MB)" ""
}

# ---- 4. start-up, step by step ----

# step_stats STEP COLUMN SCALE: the median of COLUMN of STEP over the traced
# launches at SCALE; - for a step none of them took
step_stats() {
    cat "$work"/trace_"$3"_* |
        awk -F'|' -v step="$1" -v column="$2" '$1 == step { print $column }' | median
}

# a launch of the probe: wall time and CPU to the first frame
launch_row() {
    local name=$1 file=$2 note=$3
    row "$name" "$(field painted_ms <"$file" | median) ms" \
        "CPU $(field cpu_ms <"$file" | median) ms, all threads; $note"
}

# traced_launch SCALE RUN: the traced program launched with the desktop at
# SCALE, its steps in trace_SCALE_RUN; it must have opened its window at
# that scale
traced_launch() {
    local file="$work/trace_$1_$2" width
    desktop_scale "$1"
    (cd "$build" && "$bench/screen_probe" launch "$bench/startup_trace") >"$file"
    desktop_scale 1
    width=$(grep painted_ms "$file" | field width)
    if [ "$width" != $((496 * $1)) ]; then
        say "the traced program opened a window $width pixels wide at scale $1"
        exit 1
    fi
}

# what the step took at scale 1, or that it was not taken
step_result() {
    local took
    took=$(step_stats "$1" 3 1)
    if [ "$took" = - ]; then
        echo "not called at scale 1"
    else
        echo "$took ms"
    fi
}

step_note() {
    if [ "$(step_stats "$1" 3 1)" != - ]; then
        printf 'CPU %s ms; starts at %s ms; ' "$(step_stats "$1" 4 1)" "$(step_stats "$1" 2 1)"
    fi
    printf 'at scale %s: %s ms, CPU %s ms\n' "$scale" "$(step_stats "$1" 3 "$scale")" \
        "$(step_stats "$1" 4 "$scale")"
}

section_startup() {
    say "start-up steps: $runs launches of the traced program at each scale"
    local run kind step one first
    for run in $(seq "$runs"); do
        for one in $(scales_of_round "$run"); do
            traced_launch "$one" "$run"
        done
    done
    # the steps in the order of a launch at scale $scale, which takes them all
    cat "$work"/trace_"$scale"_* "$work"/trace_1_* | grep '|' | cut -d'|' -f1 |
        awk '!seen[$0]++' >"$work/steps"
    for kind in bare text; do
        for run in $(seq "$runs"); do
            (cd "$build" && "$bench/screen_probe" launch "$bench/library_floor" "$kind") \
                >>"$work/floor_$kind"
        done
    done
    section "4. Start-up of the traced program, step by step (median of $runs launches at each" \
        "scale, the scales alternating)"
    while read -r step; do
        row "$step" "$(step_result "$step")" "$(step_note "$step")"
    done <"$work/steps"
    for one in 1 "$scale"; do
        cat "$work"/trace_"$one"_* | grep painted_ms >"$work/trace_launches_$one"
    done
    launch_row "first frame on screen (probe)" "$work/trace_launches_1" "the traced program"
    first=$(field painted_ms <"$work/trace_launches_1" | median)
    launch_row "first frame on screen (probe), scale $scale ($scaled_dpi dpi)" \
        "$work/trace_launches_$scale" \
        "the traced program; $(field painted_ms <"$work/trace_launches_$scale" | median |
            awk -v first="$first" '{ printf "%+.1f", $1 - first }') ms beside scale 1"
    launch_row "the library alone: window, clear, two rectangles" "$work/floor_bare" \
        "none of the program's code"
    launch_row "the library alone: also keyboard, mouse, one font, one text" \
        "$work/floor_text" "none of the program's code"
}

# ---- 5. heap allocations ----

section_allocations() {
    local notation kind largest
    say "heap allocations a pass"
    "$bench/allocation_count" >"$work/allocations"
    section "5. Heap allocations a pass, the program's own code"
    while read -r notation kind _ largest; do
        case $kind in
        idle) row "idle pass, $notation" "$largest" "goal 0" ;;
        idle_held) row "idle pass, $notation, a copied value held" "$largest" \
            "goal 0: holding adds none; malloc counted too, for Xlib" ;;
        *) row "$kind pass, $notation" "$largest" "" ;;
        esac
    done <"$work/allocations"
}

# ---- 6. copy and paste ----

# Pastes, each at a random moment of the loop's pass and each a different
# number, so that the decimal row changes every time.
measure_pastes() {
    say "the shipped binary: $pastes pastes in one launch"
    launch_settled
    local paste
    for paste in $(seq "$pastes"); do
        if probe_at_random paste "$(printf '0x%X' $((paste * 19088743)))"; then
            keep "$probe_line" shown_ms:paste_ms asked_ms:paste_asked poll_us:paste_poll
        fi
    done
    stop_binary
}

# column N of the line of STATE in FILE
state_field() {
    awk -v state="$2" -v column="$3" '$1 == state { print $column }' "$1"
}

state_label() {
    if [ "$1" = copy_held ]; then
        echo "a copied value held"
    else
        echo "nothing copied"
    fi
}

# The drawn idle pass with and without a copied value, at scale 1: one
# launch, in which blocks of passes alternate between the two states.
drawn_copy_passes() {
    say "the loop's pass with the real library, $passes passes in each clipboard state"
    drawn_launch copy "$passes" 1 | cut -d' ' -f2- | "$bench/pass_figures" >"$work/copy_drawing"
}

section_copy_paste() {
    local state med p99 allocations drawn_us own_extra_ns note
    measure_pastes
    say "own code with and without a copied value"
    "$bench/own_code_bench" copy-states "$own_copy_passes" >"$work/own_copy"
    drawn_copy_passes
    section "6. Copy and paste, under Xvfb"
    row "Ctrl+V to the pasted value on screen" "$(stats <"$work/paste_ms" | fmt_stats ms)" \
        "$(wc -l <"$work/paste_ms") pastes in one launch, the first (it makes the clipboard's" \
        "window and atoms; the connection is open from start-up) $(head -n1 "$work/paste_ms")" \
        "ms; the program asked for the text after a median $(median <"$work/paste_asked") ms;" \
        "the probe owns the clipboard and answers between two screenshots (one every" \
        "$(median <"$work/paste_poll") µs)"
    drawn_us=$(state_field "$work/copy_drawing" copy_none 2)
    for state in copy_none copy_held; do
        read -r _ med p99 allocations < <(grep "^$state " "$work/copy_drawing") || true
        note=""
        [ "$state" = copy_held ] && note="; difference of the medians $((med - drawn_us)) µs"
        row "drawn idle pass, decimal, $(state_label $state)" \
            "median $med µs, 99th percentile $p99 µs" \
            "serveClipboard() included; blocks of passes alternate between the two states;" \
            "heap allocations a pass (mean), all in the library: $allocations$note"
    done
    for state in copy_none copy_held; do
        read -r _ med p99 < <(grep "^$state " "$work/own_copy") || true
        row "the program's own idle pass, decimal, $(state_label $state)" \
            "median $med ns, 99th percentile $p99 ns" \
            "silent library, real clipboard; timed pass by pass, one clock reading included;" \
            "blocks of passes alternate between the two states"
    done
    own_extra_ns=$(($(state_field "$work/own_copy" copy_held 2) -
        $(state_field "$work/own_copy" copy_none 2)))
    row "what holding a copied value adds to the own pass" "$own_extra_ns ns" \
        "$(share "$own_extra_ns" "$drawn_us") of a drawn idle pass"
}

processor() {
    sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -n1
}

package_version() {
    dpkg-query -W -f='${Version}' "$1" 2>/dev/null || echo '?'
}

table() {
    echo "| Measure | Result | Goal, reference or share |"
    echo "|---|---|---|"
    cat "$rows"
}

write_results() {
    {
        echo "# Benchmark results"
        echo
        echo "- Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
        echo "- Processor: $(processor), $(nproc) cores"
        echo "- Load average before: $load_before; after: $(cut -d' ' -f1-3 /proc/loadavg)" \
            "(niceness $(nice))"
        echo "- Software GL under Xvfb: Mesa $(package_version libgl1-mesa-dri)," \
            "Allegro $(package_version liballegro5.2); screen $screen"
        echo "- Scale $scale: the launch finds Xft.dpi $scaled_dpi in the server's resources;" \
            "every other launch finds none (scale 1)"
        echo
        table
    } >"$results"
}

for name in ${only//,/ }; do
    [[ " $sections " == *" $name "* ]] || {
        say "BENCH_ONLY: no section $name; the sections are: $sections"
        exit 2
    }
done
for file in painted mapped launch_cpu launch_waiting cold_painted cold_cpu key_ms key_poll \
    cpu_program cpu_server rss_peak rss_final floor_bare floor_text paste_ms paste_asked paste_poll \
    drawn rows; do
    : >"$work/$file"
done
command -v xrdb >/dev/null || {
    say "xrdb, which sets the desktop's scale, is missing: install x11-xserver-utils"
    exit 1
}
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
# the clipboard of every bench talks to it
XVFB_SCREEN=$screen xvfb_start "$work" 15 || {
    say "Xvfb did not start: $(cat "$work/xvfb.log")"
    exit 1
}
say "Xvfb on $DISPLAY, its screen $screen"
for name in $sections; do
    if [ -z "$only" ] || [[ ",$only," == *",$name,"* ]]; then
        "section_$name"
    fi
done
if [ -n "$only" ]; then
    table
else
    write_results
    cat "$results"
fi

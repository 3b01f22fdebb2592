#!/bin/bash
# Runs the benchmarks of a Release build under a private Xvfb, prints one
# table and writes it, with the date and the machine, to a Markdown file.
#
# Usage: bench/run_bench.sh BUILD_DIR RESULTS_FILE
# BENCH_ONLY: sections to run, comma-separated names from `sections` below;
# only their rows are printed, and RESULTS_FILE is left as it is.
#
# A section is one function, section_NAME, that runs its programs and adds
# its title and rows to the table: a new one is such a function and its name
# in `sections`.
#
# The program follows the desktop's scale, which it reads from the X
# server's resources at start-up. The drawing bench is also launched at
# scale 2, as a desktop at 200 % sets it (Xft.dpi 192): the resource is set
# on the server before that launch and removed again after it, so that
# every other launch finds none, as on a desktop at 100 %.
set -eu

# shellcheck source=SCRIPTDIR/../tests/xvfb.sh
. "$(dirname "$0")/../tests/xvfb.sh"
# shellcheck source=SCRIPTDIR/../tests/e2e/geometry.sh
. "$(dirname "$0")/../tests/e2e/geometry.sh"

sections="drawing binary" # the table's order
# The screen has room for the window at scale 2, 992 x 380: on a smaller one
# the program cuts the scale to what fits.
screen=1280x1024
scaled_dpi=192 # a desktop at 200 %
scale=2        # the window's scale there
passes=2000    # timed drawn passes a notation, at each scale
runs=5         # launches of the shipped binary
keys=4         # key presses a launch
idle_seconds=10
settle_seconds=2

build=$(cd "$1" && pwd)
results=$2
only=${BENCH_ONLY:-}
bench=$build/bench

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

# median, min and max of the numbers on standard input, one a line
stats() {
    sort -g | awk '{ v[NR] = $1 }
        END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
              printf "%.1f %.1f %.1f\n", m, v[1], v[NR] }'
}

# the same, as a result with its UNIT
spread() {
    local median lowest highest
    read -r median lowest highest < <(stats)
    echo "median $median $1 (min $lowest, max $highest)"
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

# desktop_scale 1|$scale: the scale the next launch finds on the server, as
# the desktop sets it: Xft.dpi $scaled_dpi, or no resource at all for 1.
desktop_scale() {
    if [ "$1" = 1 ]; then
        xrdb -nocpp -remove
    else
        echo "Xft.dpi: $scaled_dpi" | xrdb -nocpp -merge
    fi
}

# ---- the loop's pass with the real library ----

# drawn_launch SCALE: the drawing bench with the desktop at SCALE; Google
# Benchmark's table goes to standard error, its figures to drawn_SCALE.csv
drawn_launch() {
    desktop_scale "$1"
    (cd "$build" && "$bench/drawing_bench" --benchmark_repetitions="$passes" \
        --benchmark_out="$work/drawn_$1.csv" --benchmark_out_format=csv) >&2 || {
        say "drawing_bench at scale $1 failed"
        exit 1
    }
    desktop_scale 1
}

# drawn NOTATION SCALE STATISTIC COLUMN FORMAT: COLUMN of the aggregate
# STATISTIC of NOTATION's passes. The bench names its benchmarks after the
# scale it found, so a launch that missed the scale it was given has none.
drawn() {
    awk -F, -v name="^\"$1/scale:$2/.*_$3\"\$" -v column="$4" -v format="$5\n" '
        $1 == "name" { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); at[$i] = i } }
        $1 ~ name { printf format, $at[column]; found = 1 }
        END { exit !found }' "$work/drawn_$2.csv" || {
        say "drawing_bench: no $3 of $1 at scale $2"
        exit 1
    }
}

section_drawing() {
    local notation one median p99 allocations base note
    say "the loop's pass with the real library, $passes passes a notation at scales 1 and $scale"
    for one in 1 "$scale"; do
        drawn_launch "$one"
    done
    section "The loop's pass with the real library under Xvfb, its rests left out (Google" \
        "Benchmark: $passes repetitions of one pass a notation at each scale)"
    for notation in decimal hexadecimal binary; do
        for one in 1 "$scale"; do
            median=$(drawn "$notation" "$one" median real_time %.0f)
            p99=$(drawn "$notation" "$one" p99 real_time %.0f)
            allocations=$(drawn "$notation" "$one" mean allocations %.1f)
            note="heap allocations a pass (mean): $allocations"
            if [ "$one" = 1 ]; then
                base=$median
                row "one pass, $notation" "median $median µs, 99th percentile $p99 µs" "$note"
            else
                row "one pass, $notation, scale $one ($scaled_dpi dpi)" \
                    "median $median µs, 99th percentile $p99 µs" \
                    "$(awk -v a="$median" -v b="$base" 'BEGIN { printf "%.2f", a / b }') times" \
                    "the median at scale 1; $note"
            fi
        done
    done
}

# ---- the shipped binary from outside ----

# starts the binary under the probe; fills painted_ms and program_pid
launch_binary() {
    local line
    # emptied here, not by the redirection below: that happens in the child,
    # maybe after the wait below has read the last launch's line
    : >"$work/launch"
    (cd "$build" && exec "$bench/screen_probe" launch ./ravuriradoz) >"$work/launch" &
    probe_pid=$!
    # the probe gives up by itself, and says why; a second deadline here
    # could fall first on a loaded machine and hide that
    until grep -q painted_ms "$work/launch"; do
        kill -0 "$probe_pid" 2>/dev/null || break
        sleep 0.05
    done
    line=$(grep painted_ms "$work/launch") || {
        local status=0
        wait "$probe_pid" || status=$?
        probe_pid=""
        say "the window did not show its first frame (probe status $status)"
        exit 1
    }
    painted_ms=$(echo "$line" | field painted_ms)
    program_pid=$(echo "$line" | field pid)
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

# user and system CPU of a process, in clock ticks
cpu_ticks() {
    sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

# the program's CPU over $idle_seconds, in % of a core
idle_cpu() {
    local before
    before=$(cpu_ticks "$program_pid")
    sleep "$idle_seconds"
    awk -v ticks="$(($(cpu_ticks "$program_pid") - before))" -v hz="$(getconf CLK_TCK)" \
        -v s="$idle_seconds" 'BEGIN { printf "%.1f\n", 100 * ticks / hz / s }'
}

# Each launch is timed to its first frame, rests idle with the pointer on an
# empty spot of its window, then types 8 $keys times, each press at a random
# moment of the loop's pass.
section_binary() {
    local run cell line
    say "the shipped binary: $runs launches, ${idle_seconds} s idle and $keys keys each"
    for run in $(seq "$runs"); do
        launch_binary
        echo "$painted_ms" >>"$work/painted"
        xdotool search --name 'Ravuriradoz' mousemove --window %1 "${REST_SPOT[@]}" >/dev/null
        sleep "$settle_seconds"
        idle_cpu >>"$work/idle"
        for cell in $(seq 0 $((keys - 1))); do
            sleep "0.$((200 + RANDOM % 300))"
            if line=$("$bench/screen_probe" key 8 "$cell"); then
                echo "$line" | field shown_ms >>"$work/key_ms"
                echo "$line" | field poll_us >>"$work/key_poll"
            else
                say "key $cell of run $run: not shown"
            fi
        done
        stop_binary
        say "run $run: first frame $painted_ms ms"
    done
    section "The shipped binary under Xvfb, at scale 1 ($runs launches)"
    row "launch to first painted frame" "$(spread ms <"$work/painted")" \
        "goal under 80 ms; reference 80 to 327 ms"
    row "key press to digit on screen" "$(spread ms <"$work/key_ms")" \
        "goal under 30 ms; reference 2.7 to 98 ms; $(wc -l <"$work/key_ms") presses, a" \
        "screenshot every $(stats <"$work/key_poll" | cut -d' ' -f1) µs"
    row "idle CPU, program (${idle_seconds} s)" "$(spread '% of a core' <"$work/idle")" \
        "reference 0 to 0.2 %"
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
        echo "- Processor: $(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -n1)," \
            "$(nproc) cores"
        echo "- Load average before: $load_before; after: $(cut -d' ' -f1-3 /proc/loadavg)" \
            "(niceness $(nice))"
        echo "- Software GL under Xvfb: Mesa $(package_version libgl1-mesa-dri)," \
            "Allegro $(package_version liballegro5.2); screen $screen; Google Benchmark" \
            "$(package_version libbenchmark-dev)"
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
command -v xrdb >/dev/null || {
    say "xrdb, which sets the desktop's scale, is missing: install x11-xserver-utils"
    exit 1
}
: >"$rows"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
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

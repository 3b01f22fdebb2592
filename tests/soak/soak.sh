#!/bin/bash
# Random input in a real window for a bounded time. Afterwards the program
# must still run, convert a number typed as a person types it, have kept the
# heap it holds at rest from growing pass by pass, and end on Escape with
# status 0.
#
# Memory is judged by the heap the program holds, which heap_count.c counts
# inside it, and not by its resident size: that moves by a megabyte from one
# rest to the next with the freed heap the C library keeps until the next
# trim (app/heap.h) and the blocks of a megabyte the renderer maps for a
# frame, and drifted up by as much as 1.2 MB in 15 s while the heap held
# stayed within a few kilobytes.
#
# Usage: soak.sh PROGRAM XSEND HEAP_COUNT SECONDS
# HEAP_COUNT is the library built from heap_count.c.
# SOAK_SEED repeats a run's choice of actions (timing still varies).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR
. "$here/../e2e/lib.sh"
# shellcheck source-path=SCRIPTDIR
. "$here/random_input.sh"

[ $# -eq 4 ] || {
    echo "usage: $0 PROGRAM XSEND HEAP_COUNT SECONDS" >&2
    exit 2
}
e2e_open $(($4 + 150)) "$@"
heap_library=$(realpath "$3")
seconds=$4
seed=${SOAK_SEED:-$$}
# Bytes a pass. A block of 64 bytes kept every pass adds 72 (the C library
# rounds it up); all else that random input leaves stays below one.
growth_limit=16

# Asks the program for its count (see heap_count.c): the passes so far into
# HEAP_PASSES, the heap it held all through the last whole pass into
# HEAP_BYTES.
HEAP_PASSES=0
HEAP_BYTES=0
heap_report=''
heap_lines() { wc -l <"$heap_report"; }
heap_answered() { (($(heap_lines) > $1)); }
heap_count() {
    local before
    before=$(heap_lines)
    kill -USR1 "$E2E_PROGRAM_PID"
    e2e_wait_for 5 heap_answered "$before" || e2e_fail "the program gave no heap count (seed $seed)"
    read -r HEAP_PASSES HEAP_BYTES < <(sed -n "$((before + 1))p" "$heap_report")
}

# What a frame holds depends on what it shows, so every level is taken
# showing the same thing: the decimal field active and all fields empty.
# Left alone for a moment the program holds the same heap pass after pass,
# but for a pass now and then that frees a block before it takes the next:
# the median of ten counts over half a second is the level, REST_PASSES
# the passes made by the middle of them.
REST_LEVEL=0
REST_PASSES=0
rest_level() {
    local i counts=()
    e2e_focus focus-in
    e2e_rest_pointer
    e2e_pick_row 1
    e2e_press BackSpace 11
    sleep 0.3
    for ((i = 0; i < 10; i++)); do
        heap_count
        counts+=("$HEAP_BYTES")
        ((i != 5)) || REST_PASSES=$HEAP_PASSES
        sleep 0.05
    done
    REST_LEVEL=$(printf '%s\n' "${counts[@]}" | sort -n | sed -n 6p)
}

# Random actions for SECONDS seconds.
actions=0
random_input_for() {
    local until=$((SECONDS + $1))
    while ((SECONDS < until)); do
        soak_random_action
        actions=$((actions + 1))
        e2e_running || e2e_fail "the program ended after $actions random actions (seed $seed)"
    done
}

# A quarter of the run: random input in three parts, each followed by a
# rest whose level is measured. QUARTER_LEVEL is the lowest of the three,
# QUARTER_PASSES the pass it was counted in.
QUARTER_LEVEL=0
QUARTER_PASSES=0
measured_quarter() {
    QUARTER_LEVEL=''
    for _ in 1 2 3; do
        random_input_for $((quarter / 3))
        rest_level
        if [ -z "$QUARTER_LEVEL" ] || ((REST_LEVEL < QUARTER_LEVEL)); then
            QUARTER_LEVEL=$REST_LEVEL
            QUARTER_PASSES=$REST_PASSES
        fi
    done
}

# What is drawn for the first time stays: each glyph goes into its font's
# cache when it first shows, and the renderer keeps the buffers of the
# busiest frame it has drawn. Every digit is shown in every field's font,
# the event queues are given their room (backlog) and random input gets a
# quarter of its own before the first level is taken, so that only memory
# that keeps growing can pass the limit.
warm_up() {
    e2e_rest_pointer
    e2e_pick_row 1
    e2e_type 1234567890
    e2e_pick_row 2
    e2e_type 89abcdef
    e2e_press BackSpace 8
    e2e_type 01234567
    e2e_pick_row 3
    e2e_type 01
    backlog
    random_input_for "$quarter"
}

# Input that arrives while the program is kept off the processor (a busy
# machine, a stopped terminal) reaches it all at once, and the queues that
# hold it, the library's and Xlib's, keep the room of the longest backlog
# they have held: on a busy machine random input grows them now and then,
# by some kilobytes each time. Keys typed while the program is stopped, far
# more than random input piles up, give them their room at once. The
# program is through with them when the BackSpaces pressed after them (at a
# person's pace: one key typed again a millisecond later is not always seen)
# have emptied the decimal row, and with it the hexadecimal one.
BACKLOG_KEYS=200
backlog() {
    local text=''
    while ((${#text} < BACKLOG_KEYS)); do text+=1234567890; done
    e2e_rest_pointer
    e2e_pick_row 1
    kill -STOP "$E2E_PROGRAM_PID"
    e2e_xdo type --delay 1 -- "$text"
    kill -CONT "$E2E_PROGRAM_PID"
    e2e_press BackSpace 10
    e2e_expect_row_empty 2 "$BACKLOG_KEYS keys typed while the program was stopped" 30
}

first_level=0
first_passes=0
last_level=0
last_passes=0
quarter=0
run_random_input() {
    quarter=$(((seconds + 3) / 4))
    ((quarter >= 3)) || quarter=3
    RANDOM=$seed
    warm_up
    measured_quarter
    first_level=$QUARTER_LEVEL
    first_passes=$QUARTER_PASSES
    random_input_for $((2 * quarter))
    measured_quarter
    last_level=$QUARTER_LEVEL
    last_passes=$QUARTER_PASSES
    e2e_say "$actions random actions in $((4 * quarter)) s (seed $seed)"
}

# Fails when the heap at rest grew by growth_limit bytes a pass or more
# between the first quarter and the last.
check_memory() {
    local growth=$((last_level - first_level)) passes=$((last_passes - first_passes))
    ((passes > 0)) || e2e_fail "no pass between the first and the last quarter (seed $seed)"
    e2e_say "heap at rest: first quarter $first_level bytes (pass $first_passes)," \
        "last quarter $last_level bytes (pass $last_passes): growth $growth bytes" \
        "in $passes passes, $((growth / passes)) bytes a pass"
    ((growth < growth_limit * passes)) ||
        e2e_fail "the heap at rest grew by $((growth / passes)) bytes a pass during the soak," \
            "$growth bytes in $passes passes; the limit is $growth_limit (seed $seed)"
}

# A person picks the decimal field, clears it, types a number and reads the
# two other fields; then moves to the hexadecimal field and reads the decimal.
check_typed_number() {
    e2e_focus focus-in
    e2e_rest_pointer
    e2e_pick_row 1
    e2e_press BackSpace 11
    e2e_mark
    e2e_type 48879
    e2e_checkpoint 1 typed "48879 typed after the soak" 2:BEEF 3:1011111011101111
    e2e_mark
    e2e_arrow_to Down 2
    e2e_checkpoint 2 moved "48879 typed after the soak" 1:48879
    e2e_check_texts
}

heap_report=$E2E_TMP/heap
: >"$heap_report"
SOAK_HEAP_REPORT=$heap_report LD_PRELOAD="$heap_library${LD_PRELOAD:+ $LD_PRELOAD}" \
    e2e_start_program "$PROGRAM"
e2e_find_window
grep -qF "$heap_library" "/proc/$E2E_PROGRAM_PID/maps" ||
    e2e_fail "the program runs without $heap_library"
run_random_input
e2e_running || e2e_fail "the program ended during the soak (seed $seed)"
check_memory
check_typed_number
e2e_key Escape
e2e_expect_exit 5 0 "Escape after the soak"
e2e_say "the soak passed"

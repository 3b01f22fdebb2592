#!/bin/bash
# Random input in a real window for a bounded time. Afterwards the program
# must still run, convert a number typed as a person types it, have kept its
# resident memory flat, and end on Escape with status 0.
#
# Usage: soak.sh PROGRAM XSEND SECONDS
# SOAK_SEED repeats a run's choice of actions (timing still varies).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR
. "$here/../e2e/lib.sh"
# shellcheck source-path=SCRIPTDIR
. "$here/random_input.sh"

[ $# -eq 3 ] || {
    echo "usage: $0 PROGRAM XSEND SECONDS" >&2
    exit 2
}
e2e_open $(($3 + 150)) "$@"
seconds=$3
seed=${SOAK_SEED:-$$}
growth_limit_kb=1024

# The program's resident memory in kB.
resident_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$E2E_PROGRAM_PID/status"; }

# The software renderer takes and frees some megabytes of heap for each
# frame, which the program keeps and hands back about once a second, so the
# resident size swings by a megabyte from one moment to the next. Left alone
# for a moment the program rests at one of a few levels: the highest of ten
# samples over half a second, after a pause of a third of a second. The
# lowest of three such levels is where a quarter of the run rests; memory
# that is kept raises that too.
# What a frame costs depends on what it shows, so every level is taken
# showing the same thing: the decimal field active and all fields empty.
REST_LEVEL=0
rest_level() {
    local i kb
    e2e_focus focus-in
    e2e_rest_pointer
    e2e_pick_row 1
    e2e_press BackSpace 11
    REST_LEVEL=0
    sleep 0.3
    for ((i = 0; i < 10; i++)); do
        kb=$(resident_kb)
        ((kb <= REST_LEVEL)) || REST_LEVEL=$kb
        sleep 0.05
    done
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
# rest whose level is measured. QUARTER_LEVEL is the lowest of the three.
QUARTER_LEVEL=0
measured_quarter() {
    QUARTER_LEVEL=''
    for _ in 1 2 3; do
        random_input_for $((quarter / 3))
        rest_level
        if [ -z "$QUARTER_LEVEL" ] || ((REST_LEVEL < QUARTER_LEVEL)); then
            QUARTER_LEVEL=$REST_LEVEL
        fi
    done
}

# What is drawn for the first time stays: each glyph goes into its font's
# cache when it first shows, and the renderer keeps the buffers of the
# busiest frame it has drawn. Every digit is shown in every field's font and
# random input gets a quarter of its own before the first level is taken,
# so that only memory that keeps growing can pass the limit.
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
    random_input_for "$quarter"
}

first_level=0
last_level=0
quarter=0
run_random_input() {
    quarter=$(((seconds + 3) / 4))
    ((quarter >= 3)) || quarter=3
    RANDOM=$seed
    warm_up
    measured_quarter
    first_level=$QUARTER_LEVEL
    random_input_for $((2 * quarter))
    measured_quarter
    last_level=$QUARTER_LEVEL
    e2e_say "$actions random actions in $((4 * quarter)) s (seed $seed)"
}

# Fails when the last quarter rests 1 MiB or more above the first.
check_memory() {
    local growth=$((last_level - first_level))
    e2e_say "resident memory at rest: first quarter $first_level kB," \
        "last quarter $last_level kB, growth $growth kB"
    ((growth < growth_limit_kb)) ||
        e2e_fail "resident memory grew by $growth kB during the soak (seed $seed)"
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

e2e_start "$PROGRAM"
run_random_input
e2e_running || e2e_fail "the program ended during the soak (seed $seed)"
check_memory
check_typed_number
e2e_key Escape
e2e_expect_exit 5 0 "Escape after the soak"
e2e_say "the soak passed"

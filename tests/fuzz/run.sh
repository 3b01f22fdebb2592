#!/bin/sh
# Builds the input fuzzer with clang++ (again only when its sources changed),
# replays the seed corpus, or fuzzes for a number of seconds.
#
# Usage: run.sh build WORK_DIR
#        run.sh replay WORK_DIR
#        run.sh fuzz WORK_DIR SECONDS
# WORK_DIR is the fuzz folder of a configured build tree (it holds
# core_sources.cmake); the fuzzer, its growing corpus and any input that
# made it fail (crashes/) are kept there. Such an input belongs in corpus/
# beside this script, so that the replay keeps catching the fault.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
seeds="$here/corpus"

usage() {
    echo "usage: $0 build|replay|fuzz WORK_DIR [SECONDS]" >&2
    exit 2
}

build() {
    compiler=$(command -v clang++ || command -v clang++-14 || true)
    if [ -z "$compiler" ]; then
        echo "clang++ is missing: run scripts/install-deps.sh test" >&2
        exit 1
    fi
    if [ ! -f "$work/clang-build/CMakeCache.txt" ]; then
        cmake -S "$here/clang" -B "$work/clang-build" -DCMAKE_CXX_COMPILER="$compiler" \
            -DCORE_SOURCES_FILE="$work/core_sources.cmake" >/dev/null
    fi
    cmake --build "$work/clang-build" -j 2
}

fuzzer() {
    if [ ! -x "$work/clang-build/input_fuzzer" ]; then
        echo "the fuzzer is not built: run $0 build $work first" >&2
        exit 1
    fi
    echo "$work/clang-build/input_fuzzer"
}

# Each seed once; the fuzzer exits non-zero on the first one that fails.
replay() {
    binary=$(fuzzer)
    count=$(find "$seeds" -type f | wc -l)
    [ "$count" -gt 0 ] || { echo "no seeds in $seeds" >&2; exit 1; }
    find "$seeds" -type f | sort | xargs "$binary" -timeout=10 -rss_limit_mb=2048
    echo "replayed $count inputs from $seeds"
}

# New inputs go to the work corpus, so the seeds in the tree stay as made.
explore() {
    binary=$(fuzzer)
    mkdir -p "$work/corpus" "$work/crashes"
    "$binary" "$work/corpus" "$seeds" -max_total_time="$1" -max_len=1024 -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/crashes/"
}

[ $# -ge 2 ] || usage
mode=$1
work=$2
case "$mode" in
build) build ;;
replay) replay ;;
fuzz)
    [ $# -eq 3 ] || usage
    explore "$3"
    ;;
*) usage ;;
esac

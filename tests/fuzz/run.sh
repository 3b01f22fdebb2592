#!/bin/sh
# Builds the fuzzers with clang++ (again only when their sources changed),
# replays one fuzzer's seed corpus, or fuzzes with it for a number of seconds.
#
# Usage: run.sh build WORK_DIR
#        run.sh replay WORK_DIR [FUZZER]
#        run.sh fuzz WORK_DIR SECONDS [FUZZER]
# FUZZER is input (the default: the input handling through the loop) or
# paste (the reading of a pasted text). WORK_DIR is the fuzz folder of a
# configured build tree (it holds core_sources.cmake); the fuzzers, their
# growing corpora and any input that made one fail (crashes/, for paste
# under paste/) are kept there. Such an input belongs in the fuzzer's seed
# folder beside this script, so that the replay keeps catching the fault.
set -eu

here=$(cd "$(dirname "$0")" && pwd)

usage() {
    echo "usage: $0 build WORK_DIR | replay WORK_DIR [FUZZER] | fuzz WORK_DIR SECONDS [FUZZER]" >&2
    exit 2
}

build() {
    compiler=$(command -v clang++ || command -v clang++-14 || true)
    if [ -z "$compiler" ]; then
        echo "clang++ is missing: run scripts/install-deps.sh test" >&2
        exit 1
    fi
    # A configure that failed leaves a cache but no Makefile: try it again.
    if [ ! -f "$work/clang-build/Makefile" ]; then
        cmake -S "$here/clang" -B "$work/clang-build" -DCMAKE_CXX_COMPILER="$compiler" \
            -DCORE_SOURCES_FILE="$work/core_sources.cmake" >/dev/null
    fi
    cmake --build "$work/clang-build" -j 2
}

# Where each fuzzer's seeds, new inputs and faults live, and its dictionary.
choose() {
    case "$1" in
    input)
        seeds="$here/corpus"
        out="$work"
        dict=""
        ;;
    paste)
        seeds="$here/paste_corpus"
        out="$work/paste"
        dict="$here/paste.dict"
        ;;
    *) usage ;;
    esac
    binary="$work/clang-build/$1_fuzzer"
    if [ ! -x "$binary" ]; then
        echo "the $1 fuzzer is not built: run $0 build $work first" >&2
        exit 1
    fi
}

# Each seed once; the fuzzer exits non-zero on the first one that fails.
replay() {
    count=$(find "$seeds" -type f | wc -l)
    [ "$count" -gt 0 ] || { echo "no seeds in $seeds" >&2; exit 1; }
    find "$seeds" -type f | sort | xargs "$binary" -timeout=10 -rss_limit_mb=2048
    echo "replayed $count inputs from $seeds"
}

# New inputs go to the work corpus, so the seeds in the tree stay as made.
explore() {
    mkdir -p "$out/corpus" "$out/crashes"
    "$binary" "$out/corpus" "$seeds" -max_total_time="$1" -max_len=1024 -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/crashes/" \
        ${dict:+"-dict=$dict"}
}

[ $# -ge 2 ] || usage
mode=$1
# Absolute, so that the clang project finds the list of sources from its own folder.
work=$(cd "$2" && pwd)
case "$mode" in
build) build ;;
replay)
    [ $# -le 3 ] || usage
    choose "${3:-input}"
    replay
    ;;
fuzz)
    [ $# -eq 3 ] || [ $# -eq 4 ] || usage
    choose "${4:-input}"
    explore "$3"
    ;;
*) usage ;;
esac

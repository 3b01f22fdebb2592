#!/bin/bash
# The program's folders are layers: each file may include files of its own
# folder and of the folders below it, never above, so that each layer reads
# without the ones above. From the bottom:
#   data/     the state a pass shares and the constant tables
#   convert/  text to value and value to text
#   input/    pointer, field selection, editing, the X connection
#   draw/     the window's pictures
#   app/      start-up, the loop, main
# Prints every include that reaches up, and fails if there is one; also
# fails on a folder of the program that is not in the order.
# Usage: includes.sh SOURCE_DIR
set -eu
cd "$1"

layers=(data convert input draw app) # from the bottom

declare -A rank=()
for index in "${!layers[@]}"; do
    rank[${layers[index]}]=$index
done

status=0
shopt -s nullglob
for file in */*.h */*.cpp; do
    folder=${file%%/*}
    case $folder in tests | bench | build*) continue ;; esac
    if [ -z "${rank[$folder]+set}" ]; then
        echo "$file lies in $folder/, which is no layer of the program"
        status=1
        continue
    fi
    while IFS= read -r included; do
        target=${included%%/*}
        if [ -z "${rank[$target]+set}" ]; then
            echo "$file includes $included, which lies in no layer"
            status=1
        elif [ "${rank[$target]}" -gt "${rank[$folder]}" ]; then
            echo "$file includes $included, which lies above it"
            status=1
        fi
    done < <(sed -n 's/^#include "\([a-z]*\/[^"]*\)".*/\1/p' "$file")
done
[ "$status" -eq 0 ] && echo "includes: every folder includes only itself and those below it"
exit "$status"

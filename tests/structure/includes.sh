#!/bin/bash
# The program's folders depend one way: each may include only the folders
# below it, so that each reads without the ones above. From the bottom:
#   app/state.h, app/tables.h, app/palette.h, app/layout.h (the loop's shared
#   variables and the constant data), then convert/, input/, draw/, and at
#   the top the rest of app/ (start-up, the loop, main), which calls them all.
# Prints every include that reaches up, and fails if there is one.
# Usage: includes.sh SOURCE_DIR
set -eu
cd "$1"

bottom='app/state.h app/tables.h app/palette.h app/layout.h app/scale.h'
# What the files of each level may include, besides their own folder.
declare -A allowed=(
    [bottom]="$bottom"
    [convert]="$bottom"
    [input]="$bottom convert/"
    [draw]="$bottom convert/ input/"
)

level_of() {
    local file=$1 name
    for name in $bottom; do
        [ "${file%.*}" = "${name%.h}" ] && echo bottom && return
    done
    case $file in
    convert/* | input/* | draw/*) echo "${file%%/*}" ;;
    esac
}

status=0
for file in app/* convert/* input/* draw/*; do
    level=$(level_of "$file")
    [ -n "$level" ] || continue # the top may include anything
    own="${file%%/*}/"
    [ "$level" != bottom ] || own='' # the bottom of app/ is not all of app/
    while IFS= read -r included; do
        ok=''
        for allowance in ${allowed[$level]} $own; do
            case $allowance in
            */) [[ $included == "$allowance"* ]] && ok=yes ;;
            *) [ "$included" = "$allowance" ] && ok=yes ;;
            esac
        done
        if [ -z "$ok" ]; then
            echo "$file includes $included, which lies above it"
            status=1
        fi
    done < <(sed -n 's/^#include "\([a-z]*\/[^"]*\)".*/\1/p' "$file")
done
[ "$status" -eq 0 ] && echo "includes: every folder includes only those below it"
exit "$status"

#!/bin/bash
# Text at a desktop scale is drawn from fonts loaded at the scaled size, not
# stretched from the 96 dpi picture: at 192 and 144 dpi the same eight
# digits are as many times larger as the scale, and crisp.
#
# Crisp is measured on the anti-aliased edge. A pixel's coverage is how far
# its green channel lies from the box's fill (160) towards the ink (50);
# pixels covered 10 % to 90 % are edge. The edge stays about a pixel wide at
# any size while strokes grow with the font, so a crisp text at scale s has
# about 1/s of the 96 dpi share of its ink in the edge. A stretched picture
# has its edges stretched with it and keeps that share (nearest neighbour)
# or raises it (smooth filters). The limit lies halfway between the two.
# Measured: 502 thousandths at 96 dpi, 249 at 192 (limit 376), 305 at 144
# (limit 418); the 96 dpi picture stretched 2x: 502 nearest, 851 smooth.
# The test stretches that picture itself, to show the measure tells it.
# Usage: scale_text.sh PROGRAM XSEND
set -eu
. "$(dirname "$0")/lib.sh"
e2e_begin 100 "$2" "$@"
PROGRAM=$1
# Room for the window at 200 %: on a smaller screen the program cuts the scale.
e2e_start_xvfb_sized 1280x1024

BOX=$COLOR_MID_TEAL

# Starts the program, types 88888888 and makes row 2 the active one, so
# that the decimal row shows the digits without a cursor; crops its box
# into FILE, the bounds of its ink into INK_WIDTH and INK_HEIGHT.
eights() {
    local left right top bottom
    e2e_start "$PROGRAM"
    e2e_type 88888888
    e2e_arrow_to Down 2
    e2e_new_shot
    e2e_crop "${ROW_BOX[1]}"
    e2e_magick 20 convert "$E2E_LAST_SHOT" -crop "$E2E_CROP" +repage "$1" ||
        e2e_fail "convert could not crop the decimal row"
    read -r _ _ left right top bottom < <(echo "${ROW_BOX[1]} $BOX" | e2e_measure "$E2E_LAST_SHOT")
    [ "$left" != - ] || e2e_fail "the decimal row shows no text after 88888888"
    INK_WIDTH=$((right - left + 1)) INK_HEIGHT=$((bottom - top + 1))
    e2e_key Escape
    e2e_expect_exit 5 0 "Escape after 88888888"
}

# The share of the ink of picture FILE in its edge, in thousandths, into EDGE.
edge_share() {
    local grey="$E2E_TMP/grey"
    e2e_magick 20 convert "$1" -channel G -separate -depth 8 "gray:$grey" ||
        e2e_fail "convert could not read the green channel of $1"
    EDGE=$(od -An -tu1 -v -w1 "$grey" | awk '
        { c = (160 - $1) / 110; if (c < 0) c = 0; if (c > 1) c = 1
          if (c >= 0.1) { all += c; if (c <= 0.9) edge += c } }
        END { if (all < 10) print -1; else printf "%d\n", 1000 * edge / all }')
    [ "$EDGE" -ge 0 ] || e2e_fail "$1 holds no ink"
}

# Within 5 % (and 2 pixels) of WANTED thousandths of a pixel.
near() { [ $((($1 * 1000 - $2) * 20)) -le $(($2 + 40000)) ] && [ $((($2 - $1 * 1000) * 20)) -le $(($2 + 40000)) ]; }

e2e_say "at 96 dpi the eight digits are measured"
eights "$E2E_TMP/eights-96.ppm"
width_96=$INK_WIDTH height_96=$INK_HEIGHT
edge_share "$E2E_TMP/eights-96.ppm"
edge_96=$EDGE
echo "96 dpi: ink ${width_96}x$height_96, edge $edge_96"

for setting in "${E2E_DESKTOP_SCALES[@]}"; do
    e2e_desktop_scale "$setting"
    limit=$((edge_96 * (GEOMETRY_MILLI + 1000) / (2 * GEOMETRY_MILLI)))

    e2e_say "at $DPI dpi the digits are $SCALE times as wide and as tall"
    eights "$E2E_TMP/eights-$DPI.ppm"
    edge_share "$E2E_TMP/eights-$DPI.ppm"
    edge=$EDGE
    echo "$DPI dpi: ink ${INK_WIDTH}x$INK_HEIGHT, edge $edge, crisp below $limit"
    if ! near "$INK_WIDTH" $((width_96 * GEOMETRY_MILLI)) || ! near "$INK_HEIGHT" $((height_96 * GEOMETRY_MILLI)); then
        e2e_fail "at $DPI dpi the digits' ink is ${INK_WIDTH}x$INK_HEIGHT, at 96 dpi ${width_96}x$height_96"
    fi

    e2e_say "at $DPI dpi the measure tells the 96 dpi picture stretched $SCALE times"
    for filter in point default; do
        options=(-filter "$filter")
        [ "$filter" != default ] || options=()
        e2e_magick 20 convert "$E2E_TMP/eights-96.ppm" "${options[@]}" -resize "$((GEOMETRY_MILLI / 10))%" \
            "$E2E_TMP/stretched-$filter.ppm" || e2e_fail "convert could not stretch the 96 dpi picture"
        edge_share "$E2E_TMP/stretched-$filter.ppm"
        echo "stretched ($filter filter): edge $EDGE"
        [ "$EDGE" -ge "$limit" ] ||
            e2e_fail "stretched with the $filter filter the edge share is $EDGE, below the limit $limit"
    done

    e2e_say "at $DPI dpi the digits are crisp, not stretched"
    [ "$edge" -lt "$limit" ] ||
        e2e_fail "at $DPI dpi $edge thousandths of the ink lie in the edge, a stretched picture's share (limit $limit)"
done
echo "scale_text: all checks passed"

#!/bin/bash
# Shapes at a desktop's scale, 200 % (Xft.dpi 192) and 150 % (144), are the
# 100 % picture with each layout pixel grown to the window pixels it spans:
# layout pixel u covers window pixels round(u * scale) up to, not including,
# round((u + 1) * scale), as fills and the pointer take it. Compared pixel
# for pixel along every edge of the panel, the field boxes, the buttons and
# the keys, in a ring of layout pixels from three outside each edge to two
# inside it: the outlines, the bevels, the panel's double rim and the drop
# shadows. Text is drawn from fonts at the scaled size and so is left out;
# only two texts reach into the rings: the accent of WYJDŹ's Ź, whose
# pixels are skipped, and the text cursor, which is waited out. Positions
# are geometry.sh's; one awk compares all pixels of a scale at once.
# Usage: scale_shapes.sh PROGRAM XSEND
set -eu
. "$(dirname "$0")/lib.sh"
e2e_begin 100 "$2" "$@"
PROGRAM=$1
# Room for the window at 200 %: on a smaller screen the program cuts the scale.
e2e_start_xvfb_sized 1280x1024

ACTIVE=$COLOR_FIELD_FILL

# The shapes, in layout pixels (geometry_scale has not run yet), and the
# text that reaches into their rings: the Ź's accent rises into the exit
# button's top bevel.
SHAPES="$E2E_TMP/shapes"
{
    read -r x top <<<"${BUTTON_CORNER[0]}"
    echo "text $((x + 46)) $((top + 1)) $((x + 71)) $((top + 2)) accent of the Ź"
    echo "ring $PANEL_FACE panel"
    for row in 1 2 3; do echo "ring ${ROW_FACE[row]} box of row $row"; done
    for button in 0 1; do echo "ring ${BUTTON_FACE[button]} button $button"; done
    for ((key = 0; key < KEY_COUNT; key++)); do echo "ring ${KEY_FACE[key]} key $key"; done
} >"$SHAPES"

# The active decimal row holds nothing but its fill: no value, and the
# cursor, which reaches down to the box's lower edge, between two blinks.
cursor_hidden() {
    local others
    e2e_shot || return 1
    read -r _ others _ < <(echo "${ROW_BOX[1]} $ACTIVE" | e2e_measure "$E2E_LAST_SHOT")
    [ "$others" -eq 0 ]
}

# Starts the program, lets it settle with the pointer at rest and the
# decimal row active, and writes its pixel rows into FILE, taken while the
# cursor is hidden.
picture() {
    e2e_start "$PROGRAM"
    e2e_settle 1
    e2e_wait_for 5 cursor_hidden || e2e_fail "the decimal row did not show its bare fill within 5 s"
    e2e_pixel_rows "$E2E_LAST_SHOT" 0 "$WINDOW_HEIGHT" >"$1"
    e2e_key Escape
    e2e_expect_exit 5 0 "Escape"
}

# Compares pixel rows FILE (at the scale of GEOMETRY_MILLI) with the 100 %
# rows in LAYOUT over the rings of SHAPES. Prints the number of window
# pixels compared and of those that differ, then the first differences.
compare_rings() {
    awk -v milli="$GEOMETRY_MILLI" -v height="$LAYOUT_HEIGHT" '
        function at(u) { return int((2 * u * milli + 1000) / 2000) }
        FILENAME == ARGV[1] && $1 == "text" {
            for (v = $3; v < $5; v++) for (u = $2; u < $4; u++) what[v, u] = "text"
            next
        }
        FILENAME == ARGV[1] {
            name = $0
            for (k = 0; k < 5; k++) sub(/^ *[^ ]+ +/, "", name)
            for (v = $3 - 3; v < $5 + 3; v++)
                for (u = $2 - 3; u < $4 + 3; u++)
                    if (v < $3 + 2 || v >= $5 - 2 || u < $2 + 2 || u >= $4 - 2)
                        if (!((v, u) in what)) {
                            what[v, u] = name
                            ring[v] = ring[v] " " u
                        }
            next
        }
        FILENAME == ARGV[2] {
            v = FNR - 1
            if (v in ring) {
                n = split(ring[v], us, " ")
                for (i = 1; i <= n; i++)
                    want[v, us[i]] = $(3 * us[i] + 1) " " $(3 * us[i] + 2) " " $(3 * us[i] + 3)
            }
            next
        }
        FNR == 1 { for (u = 0; u < height; u++) for (y = at(u); y < at(u + 1); y++) row[y] = u }
        {
            y = FNR - 1
            v = row[y]
            if (!(v in ring)) next
            n = split(ring[v], us, " ")
            for (i = 1; i <= n; i++) {
                u = us[i]
                for (x = at(u); x < at(u + 1); x++) {
                    compared++
                    got = $(3 * x + 1) " " $(3 * x + 2) " " $(3 * x + 3)
                    if (got == want[v, u]) continue
                    if (wrong++ < 8)
                        report = report sprintf("\n  (%d,%d), layout (%d,%d) by the %s: (%s), want (%s)",
                                                x, y, u, v, what[v, u], got, want[v, u])
                }
            }
        }
        END { printf "%d %d%s\n", compared, wrong, report }' "$SHAPES" "$LAYOUT" "$1"
}

e2e_say "at 96 dpi the picture everything is compared with"
LAYOUT="$E2E_TMP/rows-96"
picture "$LAYOUT"

for setting in "${E2E_DESKTOP_SCALES[@]}"; do
    e2e_desktop_scale "$setting"

    e2e_say "at $DPI dpi every pixel along every edge has its layout pixel's colour at 96 dpi"
    picture "$E2E_TMP/rows-$DPI"
    {
        read -r compared wrong
        mapfile -t differences
    } < <(compare_rings "$E2E_TMP/rows-$DPI")
    echo "$DPI dpi: $compared window pixels compared, $wrong differ"
    [ "$compared" -gt 0 ] || e2e_fail "at $DPI dpi no pixel was compared"
    [ "$wrong" -eq 0 ] ||
        e2e_fail "at $DPI dpi $wrong of $compared pixels along the edges differ from 96 dpi:$(printf '\n%s' "${differences[@]}")"
done
echo "scale_shapes: all checks passed"

#!/bin/bash
# Installs into a staging folder as `make install DESTDIR=...` does, then
# checks what a person meets: the installed files, the launcher started
# through links from a folder without the font, the desktop entry, the icon,
# and an uninstall that leaves nothing behind. The prefix holds a space, as
# a prefix may.
# Usage: staged_install.sh BUILD_DIR XSEND FONT UNINSTALL_SCRIPT
set -eu
# shellcheck source=SCRIPTDIR/../e2e/lib.sh
. "$(dirname "$0")/../e2e/lib.sh"
e2e_bound 120 "$@"
BUILD_DIR=$1
E2E_XSEND=$2
FONT=$3
UNINSTALL_SCRIPT=$4
e2e_init

PREFIX='/opt/ravuriradoz test'
STAGE="$E2E_TMP/stage"
ROOT="$STAGE$PREFIX"

# What `make install` puts in place (the font link is for the package alone).
# Each component writes its own manifest in the build folder, which leaves
# install_manifest.txt of a real install alone; a copy is kept at once.
install_staged() {
    local component
    for component in runtime font_copy; do
        DESTDIR="$STAGE" cmake --install "$BUILD_DIR" --prefix "$PREFIX" \
            --component "$component" >"$E2E_TMP/install-$component.log" 2>&1 ||
            e2e_fail "installing $component: $(cat "$E2E_TMP/install-$component.log")"
        cp "$BUILD_DIR/install_manifest_$component.txt" "$E2E_TMP/manifest-$component.txt"
    done
}

# Prints "MODE PATH" of every file and link under the staged prefix.
staged_files() {
    (cd "$ROOT" && find . ! -type d -printf '%M %P\n' | LC_ALL=C sort)
}

e2e_say "the install puts exactly the five files in place"
install_staged
expected="-rw-r--r-- lib/ravuriradoz/arial.ttf
-rw-r--r-- share/applications/ravuriradoz.desktop
-rw-r--r-- share/icons/hicolor/scalable/apps/ravuriradoz.svg
-rwxr-xr-x bin/ravuriradoz
-rwxr-xr-x lib/ravuriradoz/ravuriradoz"
got=$(staged_files)
[ "$got" = "$(LC_ALL=C sort <<<"$expected")" ] ||
    e2e_fail "installed files differ:$(diff <(LC_ALL=C sort <<<"$expected") <(echo "$got"))"
cmp -s "$FONT" "$ROOT/lib/ravuriradoz/arial.ttf" ||
    e2e_fail "arial.ttf is not a copy of $FONT"
head -n1 "$ROOT/bin/ravuriradoz" | grep -qx '#!/bin/sh' ||
    e2e_fail "the launcher does not start with #!/bin/sh"

e2e_say "the launcher, reached through two links from a folder without the font, opens the window"
elsewhere="$E2E_TMP/elsewhere"
mkdir -p "$elsewhere" "$E2E_TMP/links/bin"
ln -s "$ROOT/bin/ravuriradoz" "$E2E_TMP/links/bin/converter"
ln -s bin/converter "$E2E_TMP/links/converter"
e2e_start_xvfb
e2e_start_program ../links/converter "$elsewhere"
e2e_find_window
geometry=$(xwininfo -id "$E2E_WID" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
[ "$geometry" = "496x190" ] || e2e_fail "the window is $geometry, want 496x190"

e2e_say "Escape held 50 ms ends it with status 0 and no output"
e2e_key Escape
e2e_expect_exit 5 0 "Escape in the installed program"
e2e_expect_quiet

e2e_say "the desktop entry validates and starts the launcher under the prefix"
entry="$ROOT/share/applications/ravuriradoz.desktop"
report=$(desktop-file-validate "$entry" 2>&1) || e2e_fail "desktop-file-validate: $report"
[ -z "$report" ] || e2e_fail "desktop-file-validate warns: $report"
while IFS= read -r line; do
    grep -qxF -- "$line" "$entry" || e2e_fail "the desktop entry lacks the line '$line'"
done <<EOF
Type=Application
Exec="$PREFIX/bin/ravuriradoz"
Icon=ravuriradoz
Terminal=false
Categories=Utility;Calculator;
EOF
for key in Name 'Name\[en\]' Comment 'Comment\[en\]'; do
    grep -q "^$key=." "$entry" || e2e_fail "the desktop entry has no ${key//\\/} line"
done

e2e_say "the icon renders and shows the window's five colours"
histogram=$(timeout 20 convert -background none "$ROOT/share/icons/hicolor/scalable/apps/ravuriradoz.svg" \
    -format %c histogram:info:-) || e2e_fail "the icon does not render"
for colour in '10,100,100' '30,130,130' '60,160,160' '100,200,200' '140,160,160'; do
    count=$(awk -v want="($colour," '
        { line = $0; gsub(/ /, "", line) }
        index(line, want) { n += $1 + 0 }
        END { print n + 0 }' <<<"$histogram")
    [ "$count" -ge 50 ] || e2e_fail "the icon has $count pixels of ($colour), want at least 50"
done

e2e_say "uninstalling from the manifests removes every file and the program's folder"
for component in runtime font_copy; do
    DESTDIR="$STAGE" cmake -D MANIFEST="$E2E_TMP/manifest-$component.txt" \
        -D PROGRAM_DIR=lib/ravuriradoz -P "$UNINSTALL_SCRIPT" >"$E2E_TMP/uninstall.log" 2>&1 ||
        e2e_fail "uninstalling $component: $(cat "$E2E_TMP/uninstall.log")"
done
left=$(staged_files)
[ -z "$left" ] || e2e_fail "left after uninstall: $left"
[ ! -e "$ROOT/lib/ravuriradoz" ] || e2e_fail "lib/ravuriradoz is still there"

echo "staged_install: all checks passed"

#!/bin/bash
# Installs into a staging folder as `make install DESTDIR=...` does, then
# checks what a person meets: the installed files, the launcher started
# through links from a folder without the font, the start-up messages the
# manual page quotes, the desktop entry, the AppStream metadata, the icon,
# the copyright file, and an uninstall that leaves nothing behind. The prefix
# holds a space, as a prefix may.
# Usage: staged_install.sh BUILD_DIR XSEND FONT UNINSTALL_SCRIPT
set -eu
# shellcheck source=SCRIPTDIR/../e2e/lib.sh
. "$(dirname "$0")/../e2e/lib.sh"
e2e_begin 120 "$2" "$@"
BUILD_DIR=$1 FONT=$3 UNINSTALL_SCRIPT=$4

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

METAINFO=share/metainfo/invalid.ravuriradoz.ravuriradoz.metainfo.xml
MANUAL=share/man/man1/ravuriradoz.1.gz

# Prints the manual page as a person reads it, a paragraph to a line.
manual_text() {
    LC_ALL=C.UTF-8 MANWIDTH=400 man -l "$ROOT/$MANUAL" 2>&1 | sed 's/^ *//'
}

e2e_say "the install puts exactly the nine files in place"
install_staged
expected="-rw-r--r-- lib/ravuriradoz/arial.ttf
-rw-r--r-- share/applications/ravuriradoz.desktop
-rw-r--r-- share/doc/ravuriradoz/changelog.gz
-rw-r--r-- share/doc/ravuriradoz/copyright
-rw-r--r-- share/icons/hicolor/scalable/apps/ravuriradoz.svg
-rw-r--r-- $MANUAL
-rw-r--r-- $METAINFO
-rwxr-xr-x bin/ravuriradoz
-rwxr-xr-x lib/ravuriradoz/ravuriradoz"
got=$(staged_files)
[ "$got" = "$(LC_ALL=C sort <<<"$expected")" ] ||
    e2e_fail "installed files differ:$(diff <(LC_ALL=C sort <<<"$expected") <(echo "$got"))"
cmp -s "$FONT" "$ROOT/lib/ravuriradoz/arial.ttf" ||
    e2e_fail "arial.ttf is not a copy of $FONT"
head -n1 "$ROOT/bin/ravuriradoz" | grep -qx '#!/bin/sh' ||
    e2e_fail "the launcher does not start with #!/bin/sh"

e2e_say "the copyright file covers the program and the copy of the font"
copyright="$ROOT/share/doc/ravuriradoz/copyright"
head -n1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    e2e_fail "the copyright file is not in the machine-readable format: $(head -n1 "$copyright")"
for line in 'Files: *' 'License: Expat' 'Files: arial.ttf' 'License: OFL-1.1'; do
    grep -qxF -- "$line" "$copyright" || e2e_fail "the copyright file lacks '$line'"
done

e2e_say "the manual page reads as ravuriradoz(1) and formats without a warning"
whatis=$(lexgrog "$ROOT/$MANUAL") || e2e_fail "lexgrog finds no NAME line: $whatis"
case $whatis in
*': "ravuriradoz - '*) ;;
*) e2e_fail "the manual page's NAME line is $whatis" ;;
esac
report=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$ROOT/$MANUAL" 2>&1 >/dev/null) ||
    e2e_fail "man cannot format the page: $report"
[ -z "$report" ] || e2e_fail "formatting the manual page warns: $report"

# Runs a command of the install from FOLDER under `env` with the arguments
# given, expects status 1 and one line on stderr, and checks that the manual
# page quotes that line.
expect_documented_failure() {
    local what=$1 folder=$2 status=0 message
    shift 2
    (cd "$folder" && timeout 10 env "$@") >"$E2E_TMP/failure.out" 2>"$E2E_TMP/failure.err" ||
        status=$?
    [ "$status" -eq 1 ] || e2e_fail "$what: status $status, want 1"
    [ ! -s "$E2E_TMP/failure.out" ] || e2e_fail "$what: wrote to stdout: $(cat "$E2E_TMP/failure.out")"
    [ "$(wc -l <"$E2E_TMP/failure.err")" -eq 1 ] ||
        e2e_fail "$what: want one line on stderr, got: $(cat "$E2E_TMP/failure.err")"
    message=$(cat "$E2E_TMP/failure.err")
    manual_text | grep -qxF -- "$message" ||
        e2e_fail "$what: the manual page does not quote '$message'"
}

elsewhere="$E2E_TMP/elsewhere"
mkdir -p "$elsewhere" "$E2E_TMP/links/bin"
e2e_say "without a display the launcher ends with status 1 and a message the manual page quotes"
expect_documented_failure "no display" "$elsewhere" -u DISPLAY "$ROOT/bin/ravuriradoz"

e2e_say "the launcher, reached through two links from a folder without the font, opens the window"
ln -s "$ROOT/bin/ravuriradoz" "$E2E_TMP/links/bin/converter"
ln -s bin/converter "$E2E_TMP/links/converter"
e2e_start_xvfb
e2e_start_program ../links/converter "$elsewhere"
e2e_find_window
e2e_expect_window_size

e2e_say "Escape held 50 ms ends it with status 0 and no output"
e2e_key Escape
e2e_expect_exit 5 0 "Escape in the installed program"
e2e_expect_quiet

e2e_say "the program called from a folder without the font ends with a message the manual page quotes"
expect_documented_failure "no font" "$elsewhere" "$ROOT/lib/ravuriradoz/ravuriradoz"

e2e_say "an arial.ttf that is a folder, or no font, ends it with a message the manual page quotes"
for kind in folder file; do
    mkdir -p "$E2E_TMP/bad-$kind"
    if [ "$kind" = folder ]; then
        mkdir "$E2E_TMP/bad-$kind/arial.ttf"
    else
        printf 'no font\n' >"$E2E_TMP/bad-$kind/arial.ttf"
    fi
    expect_documented_failure "arial.ttf a $kind" "$E2E_TMP/bad-$kind" "$ROOT/lib/ravuriradoz/ravuriradoz"
done

e2e_say "the launcher passes --version on, and the program's version is the manual page's"
version=$(cd "$elsewhere" && env -u DISPLAY timeout 10 "$ROOT/bin/ravuriradoz" --version) ||
    e2e_fail "--version through the launcher failed: $version"
manual_version=$(zcat "$ROOT/$MANUAL" | sed -n 's/^\.TH [^"]*"\([^"]*\)".*/\1/p')
[ "$version" = "$manual_version" ] ||
    e2e_fail "the program says '$version', the manual page's header '$manual_version'"

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

e2e_say "the AppStream metadata validates together with the desktop entry"
report=$(appstreamcli validate-tree --no-net "$ROOT" 2>&1) ||
    e2e_fail "appstreamcli validate-tree: $report"
! grep -Eq '^ *[EW]: ' <<<"$report" || e2e_fail "appstreamcli validate-tree warns: $report"
grep -qxF '  <launchable type="desktop-id">ravuriradoz.desktop</launchable>' "$ROOT/$METAINFO" ||
    e2e_fail "the metadata does not name ravuriradoz.desktop as what launches it"

# Pixels are read as raw 8-bit RGBA, whatever depth ImageMagick reads at and
# however its text formats print colours.
e2e_say "the icon renders at 128x128 with the window's colours where the drawing puts them"
icon="$E2E_TMP/icon.rgba"
e2e_magick 20 convert -background none "$ROOT/share/icons/hicolor/scalable/apps/ravuriradoz.svg" \
    -depth 8 "rgba:$icon" >"$E2E_TMP/convert.log" 2>&1 ||
    e2e_fail "the icon does not render: $(cat "$E2E_TMP/convert.log")"
[ "$(stat -c %s "$icon")" -eq $((128 * 128 * 4)) ] ||
    e2e_fail "the icon renders to $(stat -c %s "$icon") bytes, want 128x128 pixels of 4 bytes"
# Where the icon's drawing puts what: transparent corners, and the
# palette's colours, opaque.
while read -r x y red green blue alpha what; do
    want="$red $green $blue $alpha"
    got=$(od -An -tu1 -j $(((y * 128 + x) * 4)) -N4 "$icon" | awk '{ print $1, $2, $3, $4 }')
    [ "$got" = "$want" ] || e2e_fail "the icon's $what at ($x,$y) is ($got), want ($want)"
done <<EOF
0 0 0 0 0 0 corner outside the rounded square
3 3 0 0 0 0 corner cut by the rounding
6 64 $COLOR_BACKGROUND 255 background
64 122 $COLOR_BACKGROUND 255 background
118 50 $COLOR_DEEP_TEAL 255 panel shadow
14 80 $COLOR_TEAL 255 panel
24 28 $COLOR_ACCENT 255 field label
72 30 $COLOR_FIELD_FILL 255 active row
42 28 $COLOR_INK 255 digit in the active row
60 48 $COLOR_MID_TEAL 255 second row
90 68 $COLOR_MID_TEAL 255 third row
97 28 $COLOR_GREY_TEAL 255 exit button
97 48 $COLOR_GREY_TEAL 255 back button
25 96 $COLOR_GREY_TEAL 255 keypad key
25 88 $COLOR_HIGHLIGHT 255 keypad key's raised edge
EOF

e2e_say "uninstalling from the manifests removes every file and the program's folders"
for component in runtime font_copy; do
    DESTDIR="$STAGE" cmake -D MANIFEST="$E2E_TMP/manifest-$component.txt" \
        -P "$UNINSTALL_SCRIPT" >"$E2E_TMP/uninstall.log" 2>&1 ||
        e2e_fail "uninstalling $component: $(cat "$E2E_TMP/uninstall.log")"
done
left=$(staged_files)
[ -z "$left" ] || e2e_fail "left after uninstall: $left"
for dir in lib/ravuriradoz share/doc/ravuriradoz; do
    [ ! -e "$ROOT/$dir" ] || e2e_fail "$dir is still there"
done

echo "staged_install: all checks passed"

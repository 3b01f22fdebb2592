#!/bin/bash
# Builds the Debian package into a folder of its own and checks what apt
# would install: the file name, the control fields, the exact file list with
# modes, the font link into fonts-liberation2, the dependencies, and the
# desktop entry as packaged.
# Usage: debian_package.sh BUILD_DIR XSEND VERSION
set -eu
# shellcheck source=SCRIPTDIR/../e2e/lib.sh
. "$(dirname "$0")/../e2e/lib.sh"
e2e_bound 200 "$@"
BUILD_DIR=$1
E2E_XSEND=$2
VERSION=$3
e2e_init

FONT=/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf
OUT="$E2E_TMP/package"
ARCH=$(dpkg --print-architecture)

e2e_say "cpack makes ravuriradoz_${VERSION}_$ARCH.deb"
(cd "$BUILD_DIR" && timeout 150 cpack -G DEB -B "$OUT") >"$E2E_TMP/cpack.log" 2>&1 ||
    e2e_fail "cpack failed: $(tail -n 20 "$E2E_TMP/cpack.log")"
DEB="$OUT/ravuriradoz_${VERSION}_$ARCH.deb"
[ -f "$DEB" ] || e2e_fail "no $DEB; made: $(cd "$OUT" && ls ./*.deb 2>/dev/null)"

e2e_say "the control fields name the package, its version and architecture"
for pair in "Package=ravuriradoz" "Version=$VERSION" "Architecture=$ARCH"; do
    field=${pair%%=*}
    got=$(dpkg-deb -f "$DEB" "$field")
    [ "$got" = "${pair#*=}" ] || e2e_fail "$field is '$got', want '${pair#*=}'"
done

e2e_say "the package holds exactly the five files, under /usr, owned by root"
listing=$(dpkg-deb -c "$DEB")
files=$(awk '$1 !~ /^d/ {
    line = $1 " " $2
    for (i = 6; i <= NF; i++) line = line " " $i
    print line }' <<<"$listing" | LC_ALL=C sort)
expected="-rw-r--r-- root/root ./usr/share/applications/ravuriradoz.desktop
-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/ravuriradoz.svg
-rwxr-xr-x root/root ./usr/bin/ravuriradoz
-rwxr-xr-x root/root ./usr/lib/ravuriradoz/ravuriradoz
lrwxrwxrwx root/root ./usr/lib/ravuriradoz/arial.ttf -> LINK"
link=$(awk '$6 == "./usr/lib/ravuriradoz/arial.ttf" && $7 == "->" { print $8 }' <<<"$listing")
[ -n "$link" ] || e2e_fail "arial.ttf is not a link in the package"
[ "$files" = "$(LC_ALL=C sort <<<"${expected/LINK/$link}")" ] ||
    e2e_fail "package files differ:$(diff <(LC_ALL=C sort <<<"${expected/LINK/$link}") <(echo "$files"))"

e2e_say "arial.ttf links to the font of fonts-liberation2"
case $link in
/*) resolved=$link ;;
*) resolved=$(realpath -sm "/usr/lib/ravuriradoz/$link") ;;
esac
[ "$resolved" = "$FONT" ] || e2e_fail "arial.ttf leads to $resolved, want $FONT"

e2e_say "Depends names the three runtime packages and nothing beyond the C and C++ runtimes"
depends=$(dpkg-deb -f "$DEB" Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//' | LC_ALL=C sort)
for wanted in liballegro5.2 liballegro-ttf5.2 fonts-liberation2; do
    grep -qx "$wanted" <<<"$names" || e2e_fail "Depends lacks $wanted: $depends"
done
while read -r name; do
    case $name in
    liballegro5.2 | liballegro-ttf5.2 | fonts-liberation2 | libc6 | libstdc++6 | libgcc-s1) ;;
    *) e2e_fail "Depends names $name, which the program does not need: $depends" ;;
    esac
done <<<"$names"
[ "$(uniq -d <<<"$names")" = "" ] || e2e_fail "Depends repeats a package: $depends"

e2e_say "the packaged desktop entry validates and starts /usr/bin/ravuriradoz"
dpkg-deb -x "$DEB" "$E2E_TMP/root"
entry="$E2E_TMP/root/usr/share/applications/ravuriradoz.desktop"
report=$(desktop-file-validate "$entry" 2>&1) || e2e_fail "desktop-file-validate: $report"
[ -z "$report" ] || e2e_fail "desktop-file-validate warns: $report"
grep -qx 'Exec=/usr/bin/ravuriradoz' "$entry" ||
    e2e_fail "the entry's Exec line is '$(grep '^Exec=' "$entry")', want Exec=/usr/bin/ravuriradoz"

echo "debian_package: all checks passed"

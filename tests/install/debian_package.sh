#!/bin/bash
# Builds the Debian package as `make package` does (packaging/build-package.sh,
# into a build folder kept between runs, so that later runs only rebuild
# what changed) and checks what apt would install: the file name, the
# control fields, the exact file list with modes, the font links, the
# dependencies against the libraries the binary needs, the hardening of the
# binary, lintian, the copyright file, the changelog, the manual page, the
# AppStream metadata, the desktop entry, that the package rebuilds to the
# same bytes (a second build, later, from scratch, in a folder elsewhere and
# under another umask; every time in the package the commit's; no folder of
# either build in its files), and the packaged program started from PATH
# and from its desktop entry with the fonts of this machine.
# Usage: debian_package.sh SOURCE_DIR PACKAGE_BUILD_DIR XSEND VERSION FONT
#   FONT: the Liberation Sans the build found, which the package must open
set -eu
# shellcheck source=SCRIPTDIR/../e2e/lib.sh
. "$(dirname "$0")/../e2e/lib.sh"
e2e_bound 680 "$@"
SOURCE_DIR=$1
PACKAGE_BUILD_DIR=$2
E2E_XSEND=$3
VERSION=$4
FONT=$5
e2e_init

# Where Debian 12 and Debian 13 keep Liberation Sans, in the launcher's order.
FONT_DIRS="liberation2 liberation"
HOMEPAGE=https://ravuriradoz.invalid/
METAINFO=usr/share/metainfo/invalid.ravuriradoz.ravuriradoz.metainfo.xml
ARCH=$(dpkg --print-architecture)
MULTIARCH=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
ROOT="$E2E_TMP/root"

# Builds the package in folder $1, logging to $E2E_TMP/$2.log, and fails
# unless it made the .deb, whose path it leaves in BUILT. One job: the other
# tests run beside this one.
build_package() {
    timeout 300 sh "$SOURCE_DIR/packaging/build-package.sh" "$1" 1 >"$E2E_TMP/$2.log" 2>&1 ||
        e2e_fail "building the package in $1 failed: $(tail -n 30 "$E2E_TMP/$2.log")"
    BUILT="$1/ravuriradoz_${VERSION}_$ARCH.deb"
    [ -f "$BUILT" ] || e2e_fail "no $BUILT; made: $(cd "$1" && ls ./*.deb 2>/dev/null)"
}

# Each member of the ar archive FILE, one line each: name, time, owner,
# group, mode, size, as its header holds them.
ar_headers() {
    perl -e 'my ($magic, $header);
        open(my $f, "<", $ARGV[0]) or die "$ARGV[0]: $!\n";
        read($f, $magic, 8) == 8 && $magic eq "!<arch>\n" or die "$ARGV[0]: not an ar archive\n";
        while (read($f, $header, 60) == 60) {
            my @field = unpack("A16 A12 A6 A6 A8 A10", $header);
            print "@field\n";
            seek($f, $field[5] + $field[5] % 2, 1);
        }' "$1"
}

# The members of the tar archive on stdin, with times to the second in UTC.
tar_listing() { tar -tv --utc --full-time; }

# What differs between the packages A and B: the ar members whose bytes
# differ, their headers, the listings of the control and data archives and
# the files whose contents differ.
deb_differences() {
    local a=$1 b=$2 member
    for member in $(ar t "$a"); do
        cmp -s <(ar p "$a" "$member") <(ar p "$b" "$member") || echo "member $member differs"
    done
    echo "ar headers (name time owner group mode size):"
    diff <(ar_headers "$a") <(ar_headers "$b") || true
    echo "control archive:"
    diff <(dpkg-deb --ctrl-tarfile "$a" | tar_listing) <(dpkg-deb --ctrl-tarfile "$b" | tar_listing) || true
    echo "data archive:"
    diff <(dpkg-deb --fsys-tarfile "$a" | tar_listing) <(dpkg-deb --fsys-tarfile "$b" | tar_listing) || true
    echo "files:"
    rm -rf "$E2E_TMP/a" "$E2E_TMP/b"
    if dpkg-deb -R "$a" "$E2E_TMP/a" && dpkg-deb -R "$b" "$E2E_TMP/b"; then
        diff -r --brief --no-dereference "$E2E_TMP/a" "$E2E_TMP/b" || true
    fi
}

e2e_say "packaging/build-package.sh makes ravuriradoz_${VERSION}_$ARCH.deb"
build_package "$PACKAGE_BUILD_DIR" build
DEB=$BUILT
dpkg-deb -x "$DEB" "$ROOT"

e2e_say "the control fields name the package, its version, architecture and homepage"
for pair in "Package=ravuriradoz" "Version=$VERSION" "Architecture=$ARCH" "Homepage=$HOMEPAGE"; do
    field=${pair%%=*}
    got=$(dpkg-deb -f "$DEB" "$field")
    [ "$got" = "${pair#*=}" ] || e2e_fail "$field is '$got', want '${pair#*=}'"
done

e2e_say "the package holds exactly the ten files, under /usr, owned by root"
listing=$(dpkg-deb -c "$DEB")
files=$(awk '$1 !~ /^d/ {
    line = $1 " " $2
    for (i = 6; i <= NF; i++) line = line " " $i
    print line }' <<<"$listing" | LC_ALL=C sort)
expected="-rw-r--r-- root/root ./usr/share/applications/ravuriradoz.desktop
-rw-r--r-- root/root ./usr/share/doc/ravuriradoz/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/ravuriradoz/copyright
-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/ravuriradoz.svg
-rw-r--r-- root/root ./usr/share/man/man1/ravuriradoz.1.gz
-rw-r--r-- root/root ./$METAINFO
-rwxr-xr-x root/root ./usr/bin/ravuriradoz
-rwxr-xr-x root/root ./usr/lib/ravuriradoz/ravuriradoz"
for dir in $FONT_DIRS; do
    link=$(awk -v at="./usr/lib/ravuriradoz/$dir/arial.ttf" '$6 == at && $7 == "->" { print $8 }' <<<"$listing")
    [ -n "$link" ] || e2e_fail "$dir/arial.ttf is not a link in the package"
    expected="$expected
lrwxrwxrwx root/root ./usr/lib/ravuriradoz/$dir/arial.ttf -> $link"
done
[ "$files" = "$(LC_ALL=C sort <<<"$expected")" ] ||
    e2e_fail "package files differ:$(diff <(LC_ALL=C sort <<<"$expected") <(echo "$files"))"

e2e_say "each arial.ttf links, relatively, to Liberation Sans where a Debian release keeps it"
for dir in $FONT_DIRS; do
    link=$(readlink "$ROOT/usr/lib/ravuriradoz/$dir/arial.ttf")
    [ "${link#/}" = "$link" ] || e2e_fail "$dir/arial.ttf is an absolute link, $link"
    resolved=$(realpath -sm "/usr/lib/ravuriradoz/$dir/$link")
    want=/usr/share/fonts/truetype/$dir/LiberationSans-Regular.ttf
    [ "$resolved" = "$want" ] || e2e_fail "$dir/arial.ttf leads to $resolved, want $want"
done

# Liberation Sans 2 is fonts-liberation from Debian 13 on; Debian 12's
# fonts-liberation is Liberation 1, and its Liberation 2 is fonts-liberation2.
FONT_DEPENDS='fonts-liberation (>= 1:2.1) | fonts-liberation2 (>= 2.1)'
e2e_say "Depends names the font and the package of every library the binary needs, and nothing else"
binary="$ROOT/usr/lib/ravuriradoz/ravuriradoz"
depends=$(dpkg-deb -f "$DEB" Depends)
entries=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//')
grep -qxF "$FONT_DEPENDS" <<<"$entries" || e2e_fail "Depends lacks '$FONT_DEPENDS': $depends"
# The library packages, whatever a release calls them (liballegro5.2 on
# Debian 12, liballegro5.2t64 on 13), are found from the binary below.
names=$(grep -vxF "$FONT_DEPENDS" <<<"$entries" | sed 's/[ (].*//' | LC_ALL=C sort)
[ "$(uniq -d <<<"$names")" = "" ] || e2e_fail "Depends repeats a package: $depends"
! grep -q '|' <<<"$names" || e2e_fail "Depends offers a library alternative: $depends"
for wanted in liballegro5.2 liballegro-ttf5.2; do
    grep -Eqx "$wanted(t64)?" <<<"$names" || e2e_fail "Depends lacks $wanted: $depends"
done
needed=$(objdump -p "$binary" | awk '$1 == "NEEDED" { print $2 }')
[ -n "$needed" ] || e2e_fail "objdump finds no NEEDED libraries in the binary"
# One query for all of them: each dpkg call reads the whole file database.
patterns=()
for library in $needed; do
    patterns+=("*/$MULTIARCH/$library")
done
held=$(dpkg -S "${patterns[@]}" 2>/dev/null) || true
owners=''
for library in $needed; do
    owner=$(awk -v want="/$MULTIARCH/$library" -F': ' \
        'substr($2, length($2) - length(want) + 1) == want { sub(/:.*/, "", $1); print $1; exit }' <<<"$held")
    [ -n "$owner" ] || e2e_fail "no installed package holds $library, which the binary needs"
    owners="$owners
$owner"
done
owners=$(sed '/^$/d' <<<"$owners" | LC_ALL=C sort -u)
[ "$names" = "$owners" ] ||
    e2e_fail "Depends is not the font and the libraries' packages:$(diff <(echo "$owners") <(echo "$names"))"

e2e_say "the binary is stripped, position-independent, fully read-only after relocation and fortified"
readelf -h "$binary" | grep -Eq 'Type: +DYN' || e2e_fail "the binary is not position-independent"
readelf -lW "$binary" | grep -q GNU_RELRO || e2e_fail "the binary has no read-only relocations"
readelf -dW "$binary" | grep -Eq '\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW' ||
    e2e_fail "the binary binds lazily: $(readelf -dW "$binary" | grep FLAGS)"
symbols=$(readelf --dyn-syms -W "$binary")
grep -q ' __stack_chk_fail' <<<"$symbols" || e2e_fail "the binary has no stack protector"
grep -Eq ' __[a-z0-9_]+_chk(@| |$)' <<<"$symbols" || e2e_fail "the binary calls no fortified function"
sections=$(readelf -SW "$binary")
for section in .symtab .comment .debug_info; do
    ! grep -qF " $section " <<<"$sections" || e2e_fail "the packaged binary keeps its $section section"
done

e2e_say "lintian finds nothing above information level, and no hardening gap"
report=$(lintian --fail-on error,warning --pedantic --display-info --tag-display-limit 0 "$DEB" 2>&1) ||
    e2e_fail "lintian reports:
$report"
! grep -Eq '^[EW]: ' <<<"$report" || e2e_fail "lintian reports:
$report"
! grep -q 'hardening-' <<<"$report" || e2e_fail "lintian finds a hardening gap:
$report"
grep -E '^[IP]: ' <<<"$report" | sed 's/^/lintian: /' || true

e2e_say "the copyright file covers the project's files and, with no font in the package, no font"
copyright="$ROOT/usr/share/doc/ravuriradoz/copyright"
head -n1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    e2e_fail "the copyright file is not in the machine-readable format: $(head -n1 "$copyright")"
for line in 'Files: *' 'License: Expat' "Source: $HOMEPAGE"; do
    grep -qxF -- "$line" "$copyright" || e2e_fail "the copyright file lacks '$line'"
done
! grep -q 'arial\|OFL' "$copyright" || e2e_fail "the package's copyright file speaks of a font it does not carry"

# lintian flags a time stamp only when it is later than the changelog's date.
e2e_say "the compressed files keep no file name or time stamp, so that a rebuild gives the same bytes"
for gz in usr/share/doc/ravuriradoz/changelog.gz usr/share/man/man1/ravuriradoz.1.gz; do
    read -r flags time <<<"$(od -An -tu1 -j3 -N5 "$ROOT/$gz" | awk '{ print $1, $2 + $3 + $4 + $5 }')"
    [ $((flags & 8)) -eq 0 ] || e2e_fail "$gz keeps the name of the file it was made from"
    [ "$time" -eq 0 ] || e2e_fail "$gz keeps a time stamp"
done

e2e_say "the changelog's newest entry is this version, by the package's maintainer"
zcat "$ROOT/usr/share/doc/ravuriradoz/changelog.gz" >"$E2E_TMP/changelog" ||
    e2e_fail "changelog.gz does not decompress"
for pair in "Version=$VERSION" "Maintainer=$(dpkg-deb -f "$DEB" Maintainer)"; do
    field=${pair%%=*}
    got=$(dpkg-parsechangelog -l "$E2E_TMP/changelog" -S "$field") || e2e_fail "the changelog does not parse"
    [ "$got" = "${pair#*=}" ] || e2e_fail "the changelog's $field is '$got', want '${pair#*=}'"
done

e2e_say "the manual page formats without a warning and is found as ravuriradoz(1)"
manual="$ROOT/usr/share/man/man1/ravuriradoz.1.gz"
report=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$manual" 2>&1 >/dev/null) ||
    e2e_fail "man cannot format the page: $report"
[ -z "$report" ] || e2e_fail "formatting the manual page warns: $report"
whatis=$(lexgrog "$manual") || e2e_fail "lexgrog finds no NAME line: $whatis"
case $whatis in
*': "ravuriradoz - '*) ;;
*) e2e_fail "the manual page's NAME line is $whatis" ;;
esac

e2e_say "the AppStream metadata validates and agrees with the package"
report=$(appstreamcli validate --no-net "$ROOT/$METAINFO" 2>&1) || e2e_fail "appstreamcli validate: $report"
! grep -Eq '^[EW]: ' <<<"$report" || e2e_fail "appstreamcli validate warns: $report"
grep -E '^[IP]: ' <<<"$report" | sed 's/^/appstreamcli: /' || true
report=$(appstreamcli validate-tree --no-net "$ROOT" 2>&1) || e2e_fail "appstreamcli validate-tree: $report"
! grep -Eq '^ *[EW]: ' <<<"$report" || e2e_fail "appstreamcli validate-tree warns: $report"
id=$(sed -n 's:^ *<id>\(.*\)</id>$:\1:p' "$ROOT/$METAINFO")
[ "$METAINFO" = "usr/share/metainfo/$id.metainfo.xml" ] ||
    e2e_fail "the metadata file is named for '$(basename "$METAINFO")', its component is '$id'"
release=$(grep -o '<release version="[^"]*"' "$ROOT/$METAINFO" | head -n1)
[ "$release" = "<release version=\"$VERSION\"" ] ||
    e2e_fail "the metadata's newest release is '$release', want version $VERSION"
desktop_id=$(sed -n 's:^ *<launchable type="desktop-id">\(.*\)</launchable>$:\1:p' "$ROOT/$METAINFO")
if [ -z "$desktop_id" ] || [ ! -f "$ROOT/usr/share/applications/$desktop_id" ]; then
    e2e_fail "the metadata launches '$desktop_id', which the package does not hold"
fi
grep -qxF "  <url type=\"homepage\">$HOMEPAGE</url>" "$ROOT/$METAINFO" ||
    e2e_fail "the metadata's homepage is not $HOMEPAGE"
# The validator of this release takes metadata without these.
for line in '<project_license>MIT</project_license>' '<metadata_license>FSFAP</metadata_license>' \
    '<content_rating type="oars-1.1"/>'; do
    grep -qxF "  $line" "$ROOT/$METAINFO" || e2e_fail "the metadata lacks $line"
done

e2e_say "the packaged desktop entry validates and starts /usr/bin/ravuriradoz"
entry="$ROOT/usr/share/applications/ravuriradoz.desktop"
report=$(desktop-file-validate "$entry" 2>&1) || e2e_fail "desktop-file-validate: $report"
[ -z "$report" ] || e2e_fail "desktop-file-validate warns: $report"
grep -qx 'Exec=/usr/bin/ravuriradoz' "$entry" ||
    e2e_fail "the entry's Exec line is '$(grep '^Exec=' "$entry")', want Exec=/usr/bin/ravuriradoz"

# A package made again from the same source must be the same bytes, wherever
# and whenever it is built: Debian rebuilds packages to check them. The
# second build starts from nothing, at least a second later, in a folder
# that shares no parent with the first, under a umask that keeps files from
# others.
e2e_say "a second build, later, elsewhere and under umask 027, makes the same bytes"
AGAIN_DIR="$E2E_TMP/again/package-build"
sleep 1
(
    umask 027
    build_package "$AGAIN_DIR" build-again
)
AGAIN="$AGAIN_DIR/ravuriradoz_${VERSION}_$ARCH.deb"
cmp -s "$DEB" "$AGAIN" || e2e_fail "the two builds differ: $(sha256sum "$DEB" "$AGAIN")
$(deb_differences "$DEB" "$AGAIN")"

# As in Debian's builds: SOURCE_DATE_EPOCH when set, else the commit's time,
# else, outside a git checkout, the newest changelog entry's.
e2e_say "every ar member, and every member of the control and data archives, carries the commit's time"
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    epoch=$SOURCE_DATE_EPOCH
elif [ -e "$SOURCE_DIR/.git" ]; then
    epoch=$(git -C "$SOURCE_DIR" log -1 --format=%ct) || e2e_fail "git cannot tell the commit's time"
else
    epoch=$(dpkg-parsechangelog -l "$SOURCE_DIR/packaging/changelog" -S Timestamp) ||
        e2e_fail "the changelog has no time"
fi
headers=$(ar_headers "$DEB") || e2e_fail "$DEB is no ar archive"
wrong=$(awk -v want="$epoch" '$2 != want || $3 != 0 || $4 != 0' <<<"$headers")
[ -z "$wrong" ] || e2e_fail "ar members not of time $epoch, owned by 0:0:
$wrong"
when=$(date -u -d "@$epoch" '+%F %T')
for archive in ctrl-tarfile fsys-tarfile; do
    members=$(dpkg-deb --"$archive" "$DEB" | tar_listing) || e2e_fail "dpkg-deb --$archive cannot be listed"
    wrong=$(awk -v want="$when" '($4 " " $5) != want' <<<"$members")
    [ -z "$wrong" ] || e2e_fail "members of the $archive not of time $when:
$wrong"
done

e2e_say "no file of the package names the source folder or either build folder"
dpkg-deb -e "$DEB" "$E2E_TMP/control"
paths=()
for dir in "$SOURCE_DIR" "$PACKAGE_BUILD_DIR" "$AGAIN_DIR"; do
    paths+=(-e "$dir" -e "$(realpath "$dir")")
done
found=$(grep -rlF "${paths[@]}" "$ROOT" "$E2E_TMP/control") || true
found+=$(find "$ROOT" -name '*.gz' -exec zgrep -lF "${paths[@]}" {} +) || true
[ -z "$found" ] || e2e_fail "files that name a folder of the build: $found"

# The extracted package stands in for /usr, with this machine's fonts where
# its links lead, so the program opens what it would open once installed.
ln -s /usr/share/fonts "$ROOT/usr/share/fonts"
elsewhere="$E2E_TMP/elsewhere"
mkdir -p "$elsewhere"
e2e_start_xvfb
for how in "from PATH" "from the desktop entry"; do
    e2e_say "the packaged program, started $how, opens Liberation Sans and its window, and Escape ends it"
    if [ "$how" = "from PATH" ]; then
        PATH="$ROOT/usr/bin:$PATH" e2e_start_program ravuriradoz "$elsewhere"
    else
        e2e_start_program "$ROOT$(sed -n 's/^Exec=//p' "$entry")" "$elsewhere"
    fi
    e2e_find_window
    opened=$(realpath "/proc/$E2E_PROGRAM_PID/cwd/arial.ttf") ||
        e2e_fail "the program runs in $(readlink "/proc/$E2E_PROGRAM_PID/cwd"), which holds no arial.ttf"
    [ "$opened" = "$(realpath "$FONT")" ] || e2e_fail "the packaged program opens $opened, want $FONT"
    e2e_key Escape
    e2e_expect_exit 5 0 "Escape in the packaged program"
    e2e_expect_quiet
done

echo "debian_package: all checks passed"

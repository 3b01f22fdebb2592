#!/bin/sh
# Builds the Debian package as Debian builds its own: a build folder of its
# own, configured with the flags of dpkg-buildflags and every hardening
# feature (bindnow is not among the defaults), then cpack. `make package`
# and the package test both come here, so the test checks what a person
# gets. Prints the path of the .deb last.
#
# The package is reproducible: the same commit gives the same bytes, whatever
# the folders, the time, the umask or the file system of the build.
# - Every time in it, of the ar members, of the control and data tar members
#   and of the files, is SOURCE_DATE_EPOCH. As in Debian's own builds, a value
#   set by the caller is kept; else it is the time of the commit checked out
#   (git log -1 --format=%ct); outside a git checkout (a source tarball) it is
#   the date of the newest entry of packaging/changelog.
# - Neither folder reaches the binary: dpkg-buildflags maps the source folder
#   to "." in the debug paths and __FILE__, and the build folder is mapped the
#   same way here, so that the build id, which hashes the unstripped binary,
#   is the same wherever the build ran.
# - cpack lays the package out (the files, the control fields, the
#   dependencies from dpkg-shlibdeps) but takes the modes of the staged files
#   as the umask left them and counts the sizes of the staged folders, which
#   depend on the file system, into Installed-Size. So its package is
#   unpacked, the modes are set as Debian's policy wants them, Installed-Size
#   is counted as dpkg-gencontrol counts it, and dpkg-deb packs it again,
#   owned by root, in name order, with gzip as before.
# Usage: build-package.sh BUILD_DIR [JOBS]
set -eu
[ $# -ge 1 ] || {
    echo "usage: $0 BUILD_DIR [JOBS]" >&2
    exit 2
}
jobs=${2:-$(nproc)}
source_dir=$(cd "$(dirname "$0")/.." && pwd -P)
# A relative BUILD_DIR is taken from the source folder. Its path is kept as
# the compiler sees its working folder: without links, as getcwd gives it.
cd "$source_dir"
mkdir -p "$1"
build_dir=$(cd "$1" && pwd -P)

fail() {
    echo "$0: $*" >&2
    exit 1
}

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    if [ -e "$source_dir/.git" ]; then
        SOURCE_DATE_EPOCH=$(git -C "$source_dir" log -1 --format=%ct) ||
            fail "git cannot tell the time of the commit; set SOURCE_DATE_EPOCH"
    else
        SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$source_dir/packaging/changelog" -S Timestamp) ||
            fail "no time in packaging/changelog; set SOURCE_DATE_EPOCH"
    fi
fi
case $SOURCE_DATE_EPOCH in
'' | *[!0-9]*) fail "SOURCE_DATE_EPOCH is '$SOURCE_DATE_EPOCH', not seconds since 1970" ;;
esac
export SOURCE_DATE_EPOCH

# dpkg-buildflags maps the folder it runs in, the source folder, to "." in
# the debug paths.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cxxflags=$(dpkg-buildflags --get CXXFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)
# The build folder too; GCC tries the last map first, so this one wins for a
# build folder inside the source folder.
cxxflags="$cxxflags -ffile-prefix-map=$build_dir=."

# Release for NDEBUG alone: the optimisation level is dpkg-buildflags'
# choice, as in Debian's builds, and _FORTIFY_SOURCE needs it.
cmake -S "$source_dir" -B "$build_dir" -DRAVURIRADOZ_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
    -DCMAKE_CXX_FLAGS="$cppflags $cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
cmake --build "$build_dir" -j "$jobs"
cd "$build_dir"
rm -rf ravuriradoz_*.deb cpack
cpack -G DEB -B "$build_dir/cpack"
laid_out=$(ls "$build_dir"/cpack/ravuriradoz_*.deb)
deb=$build_dir/$(basename "$laid_out")

root=$build_dir/cpack/root
dpkg-deb --raw-extract "$laid_out" "$root"
find "$root" ! -type l -exec chmod u=rwX,go=rX {} +
# A KiB for each folder, each regular file and link rounded up to whole KiB.
installed_size=$(find "$root" -path "$root/DEBIAN" -prune -o -printf '%y %s\n' |
    awk '{ size += ($1 == "f" || $1 == "l") ? int(($2 + 1023) / 1024) : 1 } END { print size }')
grep -q '^Installed-Size: ' "$root/DEBIAN/control" || fail "cpack wrote no Installed-Size"
sed -i "s/^Installed-Size: .*/Installed-Size: $installed_size/" "$root/DEBIAN/control"
find "$root" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
dpkg-deb --root-owner-group -Zgzip --build "$root" "$deb"
echo "built $deb"

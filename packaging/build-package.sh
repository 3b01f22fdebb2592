#!/bin/sh
# Builds the Debian package as Debian builds its own: a build folder of its
# own, configured with the flags of dpkg-buildflags and every hardening
# feature (bindnow is not among the defaults), then cpack. `make package`
# and the package test both come here, so the test checks what a person
# gets. Prints the path of the .deb last.
# Usage: build-package.sh BUILD_DIR [JOBS]
set -eu
[ $# -ge 1 ] || {
    echo "usage: $0 BUILD_DIR [JOBS]" >&2
    exit 2
}
build_dir=$1
jobs=${2:-$(nproc)}
source_dir=$(cd "$(dirname "$0")/.." && pwd -P)

# dpkg-buildflags maps the folder it runs in to "." in the debug paths.
cd "$source_dir"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cxxflags=$(dpkg-buildflags --get CXXFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)

# Release for NDEBUG alone: the optimisation level is dpkg-buildflags'
# choice, as in Debian's builds, and _FORTIFY_SOURCE needs it.
cmake -S "$source_dir" -B "$build_dir" -DRAVURIRADOZ_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
    -DCMAKE_CXX_FLAGS="$cppflags $cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
cmake --build "$build_dir" -j "$jobs"
cd "$build_dir"
rm -f ravuriradoz_*.deb
cpack -G DEB
deb=$(ls "$PWD"/ravuriradoz_*.deb)
echo "built $deb"

#!/bin/sh
# Installs the Debian packages a group of tasks needs, and nothing when all
# of them are already there. Usage: install-deps.sh build|package|test|bench
#
# The names hold on Debian 12 and 13 alike. The two packages whose names
# carry a version are not listed but derived, after the rest is in, from
# what the release installed: clang's runtime from clang's version, and
# ImageMagick's codecs from its core library.
set -eu

# fonts-liberation2 is Liberation Sans 2 on both releases (on Debian 13 it
# brings in fonts-liberation, which moved there).
build_packages="cmake make g++ pkg-config liballegro5-dev liballegro-ttf5-dev libx11-dev fonts-liberation2 libgl1-mesa-dri"
# Building the Debian package: dpkg-buildflags and dpkg-shlibdeps come with
# dpkg-dev, and cpack's DEB generator runs `file` to find the binaries.
package_packages="$build_packages dpkg-dev file"
# The window tests set a desktop scale with xrdb, from x11-xserver-utils.
test_packages="$package_packages libgtest-dev xvfb xdotool xclip imagemagick x11-utils x11-xserver-utils tesseract-ocr clang llvm desktop-file-utils appstream lintian man-db"
# The benchmarks run the program under Xvfb, press keys with xdotool and set
# the desktop's scale with xrdb.
bench_packages="$build_packages libbenchmark-dev xvfb xdotool x11-xserver-utils"

case "${1:-}" in
build) wanted=$build_packages ;;
package) wanted=$package_packages ;;
test) wanted=$test_packages derive=yes ;;
bench) wanted=$bench_packages ;;
*)
    echo "usage: $0 build|package|test|bench" >&2
    exit 2
    ;;
esac

say() { echo "install-deps: $*" >&2; }

installed() {
    case $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true) in
    *"install ok installed"*) return 0 ;;
    *) return 1 ;;
    esac
}

release() {
    # shellcheck disable=SC1091 # present on every Debian system
    (. /etc/os-release && echo "${PRETTY_NAME:-this release}")
}

apt_updated=""
# Installs those of the packages given that are missing. A name the release
# does not have is named before apt runs, rather than left to apt's error.
install_missing() {
    missing=""
    for package in "$@"; do
        installed "$package" || missing="$missing $package"
    done
    [ -n "$missing" ] || return 0
    say "installing:$missing"
    if [ "$(id -u)" -eq 0 ]; then
        as_root=""
    elif command -v sudo >/dev/null 2>&1; then
        as_root="sudo"
    else
        say "missing packages:$missing; run this script as root or install sudo"
        exit 1
    fi
    if [ -z "$apt_updated" ]; then
        $as_root apt-get update -qq
        apt_updated=yes
    fi
    for package in $missing; do
        candidate=$(apt-cache policy "$package" 2>/dev/null | awk '$1 == "Candidate:" { print $2 }')
        if [ -z "$candidate" ] || [ "$candidate" = "(none)" ]; then
            say "$(release) has no package named $package, which this project needs;"
            say "install its equivalent by hand, or tell the project in an issue"
            exit 1
        fi
    done
    # shellcheck disable=SC2086 # the list is meant to split into words
    DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq --no-install-recommends $missing
}

# clang's sanitizer and fuzzer runtime, of clang's own version.
clang_runtime() {
    version=$(clang -dumpversion 2>/dev/null) || {
        say "clang is installed but does not run, so its runtime package is unknown"
        exit 1
    }
    echo "libclang-rt-${version%%.*}-dev"
}

# ImageMagick's SVG reader, which imagemagick only recommends: the codec
# package of the core library installed (libmagickcore-6.q16-6 on Debian 12,
# libmagickcore-7.q16-10 on 13).
imagemagick_codecs() {
    core=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' 'libmagickcore-*' 2>/dev/null |
        awk '$1 == "ii" && $2 ~ /^libmagickcore-[0-9.]+q[0-9]+-[0-9]+$/ { print $2 }' | sort -V | tail -n 1)
    [ -n "$core" ] || {
        say "imagemagick is installed but no libmagickcore library is, so its codec package is unknown"
        exit 1
    }
    echo "$core-extra"
}

# shellcheck disable=SC2086 # the list is meant to split into words
install_missing $wanted
if [ -n "${derive:-}" ]; then
    # Each on its own line, so that set -e stops on a failed derivation.
    runtime=$(clang_runtime)
    codecs=$(imagemagick_codecs)
    install_missing "$runtime" "$codecs"
fi

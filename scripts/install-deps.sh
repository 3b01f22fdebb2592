#!/bin/sh
# Installs the Debian packages a group of tasks needs, and nothing when all
# of them are already there. Usage: install-deps.sh build|package|test|bench
set -eu

build_packages="cmake make g++ pkg-config liballegro5-dev liballegro-ttf5-dev libx11-dev fonts-liberation2 libgl1-mesa-dri"
# Building the Debian package: dpkg-buildflags and dpkg-shlibdeps come with
# dpkg-dev, and cpack's DEB generator runs `file` to find the binaries.
package_packages="$build_packages dpkg-dev file"
# libmagickcore-6.q16-6-extra holds ImageMagick's SVG reader, which
# imagemagick only recommends.
test_packages="$package_packages libgtest-dev xvfb xdotool xclip imagemagick libmagickcore-6.q16-6-extra x11-utils tesseract-ocr clang libclang-rt-14-dev llvm desktop-file-utils appstream lintian man-db"
bench_packages="$test_packages libbenchmark-dev valgrind"

case "${1:-}" in
build) wanted=$build_packages ;;
package) wanted=$package_packages ;;
test) wanted=$test_packages ;;
bench) wanted=$bench_packages ;;
*)
    echo "usage: $0 build|package|test|bench" >&2
    exit 2
    ;;
esac

missing=""
for package in $wanted; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in
    *"install ok installed"*) ;;
    *) missing="$missing $package" ;;
    esac
done

[ -z "$missing" ] && exit 0

echo "installing:$missing" >&2
if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo"
else
    echo "missing packages:$missing; run this script as root or install sudo" >&2
    exit 1
fi
$as_root apt-get update -qq
# shellcheck disable=SC2086 # the list is meant to split into words
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq --no-install-recommends $missing

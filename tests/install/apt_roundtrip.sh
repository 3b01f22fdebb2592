#!/bin/bash
# What a person does with the Debian package, on the machine itself: apt
# installs it, the program starts from PATH and from its desktop entry and
# shows its window, Escape ends it with status 0, and apt removes it without
# leaving a file behind. It changes the system, so `make test` does not run
# it; it is meant for a clean root of each release, as root or with sudo.
# Usage: apt_roundtrip.sh DEB
set -eu
deb=$(realpath "$1")
title='Ravuriradoz syst. liczbowych DHB'
as_root=''
[ "$(id -u)" -eq 0 ] || as_root=sudo
tmp=$(mktemp -d)
xvfb_pid=''
cleanup() {
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "apt_roundtrip: FAIL: $*" >&2
    exit 1
}
say() { echo "apt_roundtrip: $*"; }

# Polls COMMAND every 0.1 s for up to SECONDS.
wait_for() {
    local tries=$(($1 * 10))
    shift
    until "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

say "apt installs $(basename "$deb")"
$as_root apt-get install -y -qq --no-install-recommends "$deb" >"$tmp/install.log" 2>&1 ||
    fail "apt-get install: $(tail -n 20 "$tmp/install.log")"
# The tools to drive a window, once the package's own dependencies are in,
# so that they cannot hide one the package forgot.
$as_root apt-get install -y -qq --no-install-recommends xvfb xdotool >"$tmp/tools.log" 2>&1 ||
    fail "installing Xvfb and xdotool: $(tail -n 20 "$tmp/tools.log")"
say "Depends: $(dpkg-query -W -f='${Depends}' ravuriradoz)"

export DISPLAY=:77
Xvfb "$DISPLAY" -screen 0 640x480x24 -noreset -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for 10 xdotool getmouselocation || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"

exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/ravuriradoz.desktop)
[ -n "$exec_line" ] || fail "the desktop entry has no Exec line"
for how in path entry; do
    if [ "$how" = path ]; then
        say "ravuriradoz, found on PATH, opens its window"
        command=(ravuriradoz)
    else
        say "the desktop entry's Exec line, $exec_line, opens the window"
        command=("$exec_line")
    fi
    (cd /tmp && exec "${command[@]}") >"$tmp/out" 2>"$tmp/err" &
    pid=$!
    wait_for 20 xdotool search --name "^$title\$" ||
        fail "no window; the program said: $(cat "$tmp/err")"
    wid=$(xdotool search --name "^$title\$" | head -n 1)
    xdotool mousemove --window "$wid" 60 110 sleep 0.2 keydown Escape sleep 0.1 keyup Escape
    status=0
    wait_for 10 sh -c "! kill -0 $pid" || fail "Escape did not end the program"
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$tmp/err")"
    if [ -s "$tmp/out" ] || [ -s "$tmp/err" ]; then
        fail "the program wrote: $(cat "$tmp/out" "$tmp/err")"
    fi
done

say "apt removes it and nothing of it is left"
files=$(dpkg -L ravuriradoz | while read -r path; do [ -d "$path" ] || echo "$path"; done)
$as_root apt-get remove -y -qq ravuriradoz >"$tmp/remove.log" 2>&1 ||
    fail "apt-get remove: $(tail -n 20 "$tmp/remove.log")"
for path in $files /usr/lib/ravuriradoz; do
    if [ -e "$path" ] || [ -L "$path" ]; then
        fail "$path is left after removal"
    fi
done
say "all checks passed"

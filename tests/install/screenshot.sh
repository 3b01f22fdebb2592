#!/bin/bash
# Takes the README's picture: the program on a private X server after 48879
# is typed into the decimal row, so that all three rows show the number,
# taken while the cursor blinks on. Run it as `make screenshot`.
# Usage: screenshot.sh PROGRAM XSEND OUT.png
set -eu
# shellcheck source=SCRIPTDIR/../e2e/lib.sh
. "$(dirname "$0")/../e2e/lib.sh"
e2e_open 60 "$@"
OUT=$3

# The cursor stands after the five digits (11 px each) of the decimal row
# only once all of them are typed, and the conversion shows with them.
cursor_after_five_digits() {
    local same spot="190 ${ROW_TOP[1]} 206 $((ROW_TOP[1] + 21))"
    e2e_shot >/dev/null || return 1
    read -r same _ < <(echo "$spot $COLOR_TEAL" | e2e_measure "$E2E_LAST_SHOT")
    [ "$same" -ge 3 ]
}

e2e_start "$PROGRAM"
e2e_type 48879
e2e_wait_for 5 cursor_after_five_digits || e2e_fail "no cursor after the five digits"
# No time stamps in the file, so an unchanged window gives an unchanged file.
e2e_magick 10 convert "$E2E_LAST_SHOT" -strip -define png:exclude-chunks=date,time "png24:$OUT" ||
    e2e_fail "convert could not write $OUT"
e2e_key Escape
e2e_expect_exit 5 0 "Escape"
echo "screenshot: wrote $OUT"

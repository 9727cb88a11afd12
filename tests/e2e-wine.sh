#!/bin/sh
# End to end against the Linux build: barovista.exe under Wine on Xvfb gets
# the same real key events as the Linux program (e2e.sh, run for each), then
#   - the history files both write for the same keys must be equal byte for
#     byte, but for the time of day of the last measurement;
#   - each program's second start runs on the file the other one wrote, and
#     both again write equal files.
#   e2e-wine.sh BAROVISTA.EXE LINUX_BUILD_DIR
# Exits 77 (skipped) where Wine, Xvfb, xdotool or the Linux build is missing.
set -u

exe=$1
host=$2
here=$(cd "$(dirname "$0")" && pwd)

skip() {
    echo "SKIPPED: $*"
    exit 77
}
command -v wine >/dev/null 2>&1 || skip "Wine is not installed (scripts/install-deps windows installs it)"
command -v Xvfb >/dev/null 2>&1 || skip "Xvfb is not installed (scripts/install-deps installs it)"
command -v xdotool >/dev/null 2>&1 || skip "xdotool is not installed (scripts/install-deps installs it)"
for f in src/barovista tests/recorddump tests/xclose; do
    [ -x "$host/$f" ] || skip "$host/$f is missing: build the Linux program first (make build)"
done

tmp=$(mktemp -d)
prefix=$tmp/wine
cleanup() {
    sh "$here/wine-run" "$prefix" --end
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

( unset DISPLAY; sh "$here/wine-run" "$prefix" --init ) || fail "cannot make the Wine prefix"
mkdir "$tmp/linux" "$tmp/windows" "$tmp/linux2"
linux() { # OUT [SECOND_START]
    E2E_OUT=$tmp/$1 E2E_SECOND_START=${2:-} \
        sh "$here/e2e.sh" "$host/src/barovista" "$host/tests/recorddump" "$host/tests/xclose"
}

echo "== Linux"
linux linux || fail "the Linux program failed"
echo "== Windows, second start on the Linux file"
E2E_OUT=$tmp/windows E2E_SECOND_START=$tmp/linux/run1.dat \
    BAROVISTA_RUNNER="sh $here/wine-run $prefix" \
    sh "$here/e2e.sh" "$exe" "$host/tests/recorddump" "$host/tests/xclose" ||
    fail "the Windows program failed"
echo "== Linux, second start on the Windows file"
linux linux2 "$tmp/windows/run1.dat" || fail "the Linux program failed on the Windows file"

# A and B equal byte for byte but for the time of day "HH:MM:SS" of the last
# measurement, which stands at the same place in both.
same() { # A B
    [ "$(wc -c <"$1")" -eq "$(wc -c <"$2")" ] || return 1
    at=$(LC_ALL=C grep -obaE '[0-2][0-9]:[0-5][0-9]:[0-5][0-9]' "$1" | cut -d: -f1)
    [ "$(echo "$at" | wc -w)" -eq 1 ] || { echo "no single time of day in $1"; return 1; }
    at2=$(LC_ALL=C grep -obaE '[0-2][0-9]:[0-5][0-9]:[0-5][0-9]' "$2" | cut -d: -f1)
    [ "$at" = "$at2" ] || return 1
    # cmp -l counts bytes from 1, grep -b from 0.
    cmp -l "$1" "$2" | awk -v lo=$((at + 1)) -v hi=$((at + 8)) '$1 < lo || $1 > hi { bad = 1 } END { exit bad }'
}
check() { # WHAT A B
    same "$2" "$3" || { cmp -l "$2" "$3" | head; fail "$1: the files differ"; }
    echo "$1: $(wc -c <"$2") bytes equal"
}
check "first run, Linux and Windows" "$tmp/linux/run1.dat" "$tmp/windows/run1.dat"
check "second run, Windows on the Linux file and Linux on its own" "$tmp/windows/run2.dat" "$tmp/linux/run2.dat"
check "second run, Linux on the Windows file and Windows on the Linux file" "$tmp/linux2/run2.dat" "$tmp/windows/run2.dat"
echo "PASS"

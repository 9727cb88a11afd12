#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# End to end against the Linux build: barovista.exe under Wine on Xvfb gets
# the same real key events as the Linux program (e2e.sh, run for each), then
#   - the history files both write for the same keys must be equal byte for
#     byte, but for the times of day of the measurements;
#   - each program's second start runs on the file the other one wrote, and
#     both again write equal files.
#   e2e-wine.sh BAROVISTA.EXE LINUX_BUILD_DIR
# Exits 77 (skipped) where Wine, Xvfb, xdotool or the Linux build is missing.
# E2E_KEEP=DIR keeps the history files of every run in DIR, for a look at them.
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
    [ -n "${E2E_KEEP:-}" ] && cp -r "$tmp" "$E2E_KEEP"
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
# A German Windows: Wine takes the user's locale from LC_ALL.
echo "== Windows, second start on the Linux file"
LC_ALL=de_DE.UTF-8 E2E_OUT=$tmp/windows E2E_SECOND_START=$tmp/linux/run1.dat \
    BAROVISTA_RUNNER="sh $here/wine-run $prefix" \
    sh "$here/e2e.sh" "$exe" "$host/tests/recorddump" "$host/tests/xclose" ||
    fail "the Windows program failed"
echo "== Linux, second start on the Windows file"
linux linux2 "$tmp/windows/run1.dat" || fail "the Linux program failed on the Windows file"

# Where a file holds a time of day "HH:MM:SS" (last, lowest and highest
# measurement): byte offsets, counted from 0.
times_of_day() {
    LC_ALL=C grep -obaE '[0-2][0-9]:[0-5][0-9]:[0-5][0-9]' "$1" | cut -d: -f1 | tr '\n' ' '
}
# A and B equal byte for byte but for their times of day, which stand at the
# same places in both.
same() { # A B
    [ "$(wc -c <"$1")" -eq "$(wc -c <"$2")" ] || return 1
    t=$(times_of_day "$1")
    [ -n "$t" ] && [ "$t" = "$(times_of_day "$2")" ] || return 1
    # cmp -l counts bytes from 1.
    cmp -l "$1" "$2" | awk -v t="$t" '
        BEGIN { n = split(t, at, " ") }
        { ok = 0; for (i = 1; i <= n; i++) if ($1 > at[i] && $1 <= at[i] + 8) ok = 1; if (!ok) bad = 1 }
        END { exit bad }'
}
check() { # WHAT A B
    same "$2" "$3" || { cmp -l "$2" "$3" | head; fail "$1: the files differ"; }
    echo "$1: $(wc -c <"$2") bytes equal"
}
check "first run, Linux and Windows" "$tmp/linux/run1.dat" "$tmp/windows/run1.dat"
check "second run, Windows on the Linux file and Linux on its own" "$tmp/windows/run2.dat" "$tmp/linux/run2.dat"
check "second run, Linux on the Windows file and Windows on the Linux file" "$tmp/linux2/run2.dat" "$tmp/windows/run2.dat"
echo "PASS"

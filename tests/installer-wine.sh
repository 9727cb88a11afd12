#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer and its uninstaller, both silent (/S), under Wine in a prefix
# of their own: the program, the uninstaller, the Start-menu entry and the
# entry in the list of installed programs (with its size) appear and go
# again, the program carries every icon size Windows asks for, an uninstall
# while Barovista runs changes nothing and fails, and a history in
# %APPDATA%\barovista stays as it was.
#   installer-wine.sh barovista-1.1-setup.exe barovista.exe
# Exits 77 (skipped) where Wine is missing.
set -u

setup=$1
exe=$2
here=$(cd "$(dirname "$0")" && pwd)
command -v wine >/dev/null 2>&1 || { echo "SKIPPED: Wine is not installed (scripts/install-deps windows installs it)"; exit 77; }

tmp=$(mktemp -d)
prefix=$tmp/wine
run() { sh "$here/wine-run" "$prefix" "$@"; }
cleanup() {
    run --end
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}
unset DISPLAY APPDATA
run --init || fail "cannot make the Wine prefix"

c=$prefix/drive_c
dir="$c/Program Files/Barovista"
link="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Barovista.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Barovista'
user=$(ls "$c/users" | grep -v '^Public$' | head -n 1)
history="$c/users/$user/AppData/Roaming/barovista/save.dat"
mkdir -p "$(dirname "$history")"
printf 'history bytes\r\n' >"$history"
cp "$history" "$tmp/history"

run "$setup" /S || fail "the installer ended with status $?"
WINEPREFIX=$prefix wineserver -w
for f in "$dir/barovista.exe" "$dir/uninstall.exe" "$link"; do
    [ -f "$f" ] || fail "the installer did not write $f"
done
cmp -s "$dir/barovista.exe" "$exe" || fail "the installed program differs from the build's"
run reg query "$key" /v UninstallString 2>/dev/null | grep -q 'uninstall.exe' ||
    fail "no entry among the installed programs"
run reg query "$key" /v EstimatedSize 2>/dev/null | grep -q 'REG_DWORD' || fail "no EstimatedSize in the entry"
if command -v wrestool >/dev/null 2>&1; then
    # The widths in the icon directory, 16 bytes an entry from byte 6; 0 is 256.
    wrestool -x -t 14 "$dir/barovista.exe" >"$tmp/icon.ico"
    count=$(od -An -tu2 -j4 -N2 "$tmp/icon.ico")
    sizes=$(for i in $(seq 0 $((count - 1))); do
        w=$(od -An -tu1 -j$((6 + 16 * i)) -N1 "$tmp/icon.ico")
        echo $((w == 0 ? 256 : w))
    done | tr '\n' ' ')
    [ "$sizes" = "16 20 24 32 40 48 64 256 " ] || fail "the program's icon has the sizes $sizes"
fi
echo "installed: barovista.exe, uninstall.exe, Start-menu entry, uninstall entry with its size, icon sizes"

# While Barovista runs (under a virtual X server), the uninstaller removes
# nothing and fails.
if command -v Xvfb >/dev/null 2>&1; then
    n=90
    while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
    Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    sleep 1
    cp "$history" "$tmp/own"
    rm -f "$history"
    DISPLAY=:$n run 'C:\Program Files\Barovista\barovista.exe' >/dev/null 2>&1 &
    # Its first start writes an empty history: it runs.
    for _ in $(seq 60); do [ -s "$history" ] && break; sleep 1; done
    [ -s "$history" ] || fail "the installed program did not start"
    # "_?=" keeps the uninstaller in place, so its status is its own; the
    # short name, since Wine quotes an argument with a blank and NSIS then
    # does not see it.
    run 'C:\Program Files\Barovista\uninstall.exe' /S '_?=C:\PROGRA~1\Barovista' &&
        fail "the uninstaller reported success while Barovista ran"
    for f in "$dir/barovista.exe" "$dir/uninstall.exe" "$link"; do
        [ -f "$f" ] || fail "the uninstaller removed $f while Barovista ran"
    done
    run reg query "$key" >/dev/null 2>&1 || fail "the uninstaller removed the entry while Barovista ran"
    WINEPREFIX=$prefix wineserver -k
    kill "$xvfb" 2>/dev/null
    cp "$tmp/own" "$history"
    echo "uninstall while running: refused, everything in place"
fi

# The uninstaller copies itself away and returns at once; wineserver -w
# waits for that copy to finish.
run 'C:\Program Files\Barovista\uninstall.exe' /S || fail "the uninstaller ended with status $?"
WINEPREFIX=$prefix wineserver -w
for f in "$dir" "$link"; do
    [ ! -e "$f" ] || fail "the uninstaller left $f"
done
run reg query "$key" >/dev/null 2>&1 && fail "the entry among the installed programs is still there"
cmp -s "$history" "$tmp/history" || fail "the uninstaller changed or removed the history"
echo "uninstalled: program folder, Start-menu entry and uninstall entry gone, history kept"
echo "PASS"

#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer and its uninstaller, both silent (/S), under Wine in a prefix
# of their own: the program, the uninstaller, the Start-menu entry and the
# entry in the list of installed programs appear and go again, and a history
# in %APPDATA%\barovista stays as it was.
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
echo "installed: barovista.exe, uninstall.exe, Start-menu entry, uninstall entry"

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

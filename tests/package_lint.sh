#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian source and binary packages (scripts/build-package:
# dpkg-buildpackage) and checks them the way Debian checks its own: lintian
# on the .changes (source, program and -dbgsym together) with no error and no
# warning, its pedantic and informational remarks shown; hardening-check on
# the installed binary; and an icon of the right size in each hicolor folder.
#   package_lint.sh SOURCE_DIR PACKAGE_BUILD_DIR
# Exits 77 (reported as skipped) when lintian, hardening-check or debhelper
# is not installed (packages lintian, devscripts and debhelper).
src=${1:?source folder}
dir=${2:?package build folder}

missing=""
command -v lintian >/dev/null 2>&1 || missing="$missing lintian"
command -v hardening-check >/dev/null 2>&1 || missing="$missing hardening-check"
command -v dh >/dev/null 2>&1 || missing="$missing debhelper"
if [ -n "$missing" ]; then
    echo "skipped: not installed:$missing"
    exit 77
fi

"$src/scripts/build-package" "$dir" || exit 1
deb=$(ls "$dir"/barovista_*.deb) || exit 1
changes=$(ls "$dir"/barovista_*.changes) || exit 1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp" || exit 1

status=0
echo "lintian $changes"
lintian --pedantic --display-info --fail-on error,warning "$changes" || status=1

# Control-flow protection is left out: Debian 12's C start files (Scrt1.o,
# crti.o, crtn.o) carry no IBT/SHSTK marks, so no binary linked with them
# can have them.
# The program and any private library of its own.
hardening-check --nocfprotection "$tmp/usr/bin/barovista" \
    $(find "$tmp/usr/lib" -name '*.so*' -type f 2>/dev/null) || status=1

for size in 16 22 24 32 48 64 128 256; do
    icon=$tmp/usr/share/icons/hicolor/${size}x${size}/apps/barovista.png
    if ! file "$icon" | grep -q "PNG image data, $size x $size,"; then
        echo "not a ${size}x$size PNG: $(file "$icon")"
        status=1
    fi
done
exit $status

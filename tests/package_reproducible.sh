#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package twice from two copies of the sources and requires
# the two .deb files to be identical, byte for byte. The second copy lies at
# a longer path, its files carry another modification time (as a clone made
# on another day would), and it builds later, in another time zone, locale
# and umask. On a difference it shows where: the ar members, the listings,
# the control files and the files whose contents differ.
#   package_reproducible.sh SOURCE_DIR WORK_DIR
src=${1:?source folder}
work=${2:?work folder}
rm -rf "$work"
one=$work/one
two=$work/second/copy/at/a/longer/path

# The sources as they are in the working tree, uncommitted changes included.
copy() {
    mkdir -p "$1"
    if git -C "$src" rev-parse --show-toplevel >/dev/null 2>&1; then
        git -C "$src" ls-files -z --cached --others --exclude-standard |
            tar -C "$src" --null -T - -cf -
    else
        tar -C "$src" --exclude='./build*' -cf - .
    fi | tar -C "$1" --touch -xf - || exit 1
}
copy "$one/src"
copy "$two/src"
find "$two/src" -exec touch -h -d '2001-02-03 04:05:06' {} + || exit 1

unset SOURCE_DATE_EPOCH
(TZ=UTC LC_ALL=C.UTF-8 "$one/src/scripts/build-package" "$one/build") >"$work/one.log" 2>&1 ||
    { cat "$work/one.log"; exit 1; }
(umask 002; TZ=Pacific/Kiritimati LC_ALL=de_DE.UTF-8 "$two/src/scripts/build-package" "$two/build") \
    >"$work/two.log" 2>&1 || { cat "$work/two.log"; exit 1; }

a=$(ls "$one"/build/barovista_*.deb) && b=$(ls "$two"/build/barovista_*.deb) || exit 1
sha256sum "$a" "$b"
if cmp "$a" "$b"; then
    echo "identical: $(basename "$a")"
    rm -rf "$work"
    exit 0
fi

echo "the two packages differ:"
for deb in "$a" "$b"; do
    mkdir -p "$deb.x"
    ar tv "$deb"
    dpkg-deb -c "$deb" >"$deb.list"
    dpkg-deb -R "$deb" "$deb.x"
done
diff "$a.list" "$b.list"
diff -r "$a.x" "$b.x"
exit 1

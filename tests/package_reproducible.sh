#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The source package and the binary packages built from two copies of the
# working tree must come out the same, byte for byte: the upstream tarball,
# the .debian.tar.xz, the .dsc, the program's package and its -dbgsym
# package (the .buildinfo names the build's path and environment, and the
# .changes its checksum, so these two differ by design). The second copy
# lies at a longer path, its files are dated 2001 (as a clone made another
# day) and it builds later, in another time zone, locale and umask;
# SOURCE_DATE_EPOCH is unset, so both take the default time. On a
# difference: the ar members and the files that differ.
#   package_reproducible.sh SOURCE_DIR WORK_DIR
src=${1:?source folder}
work=${2:?work folder}
git -C "$src" rev-parse 2>/dev/null || { echo "skipped: $src is no git checkout"; exit 77; }
a=$work/a
b=$work/b/at/a/longer/path
rm -rf "$work"
for d in "$a" "$b"; do
    mkdir -p "$d/src" && git -C "$src" ls-files -z -co --exclude-standard |
        tar -C "$src" --null -T - -cf - | tar -C "$d/src" -mxf - || exit 1
done
unset SOURCE_DATE_EPOCH
find "$b/src" -exec touch -h -d 2001-02-03 {} + &&
    (TZ=UTC "$a/src/scripts/build-package" "$a/build") >"$work/a.log" 2>&1 &&
    (umask 002; TZ=Pacific/Kiritimati LC_ALL=de_DE.UTF-8 "$b/src/scripts/build-package" "$b/build") \
        >"$work/b.log" 2>&1 || { tail -n 30 "$work"/*.log; exit 1; }
status=0 n=0
for f in "$a"/build/*.tar.xz "$a"/build/*.dsc "$a"/build/*.deb; do
    name=${f##*/}
    n=$((n + 1))
    sha256sum "$f" "$b/build/$name"
    cmp "$f" "$b/build/$name" && continue
    status=1
    case $name in *.deb)
        for d in "$a" "$b"; do
            ar tv "$d/build/$name" && dpkg-deb -R "$d/build/$name" "$d/x-$name"
        done
        diff -r "$a/x-$name" "$b/x-$name" ;;
    esac
done
[ $n -eq 5 ] || { echo "expected 5 files to compare (orig and debian tarballs, .dsc, 2 packages), found $n"; exit 1; }
[ $status -eq 0 ] && rm -rf "$work"
exit $status

#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The package built from two copies of the working tree must come out the
# same, byte for byte. The second copy lies at a longer path, its files are
# dated 2001 (as a clone made another day) and it builds later, in another
# time zone, locale and umask; SOURCE_DATE_EPOCH is unset, so both take the
# default time. On a difference: the ar members and the files that differ.
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
sha256sum "$a"/build/*.deb "$b"/build/*.deb
cmp "$a"/build/*.deb "$b"/build/*.deb && rm -rf "$work" && exit 0
for d in "$a" "$b"; do
    ar tv "$d"/build/*.deb && dpkg-deb -R "$d"/build/*.deb "$d/x"
done
diff -r "$a/x" "$b/x"
exit 1

#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Command-line benchmark: the median time of RUNS calls of
#     barovista --json --altitude 321 --pressure 987,5
# beside three other ways of the same reduction to sea level:
#   - a bare QtCore program (bench/qtcore.cpp) that computes the same figures
#     and prints them: the least any Qt program costs, and so the yardstick
#     of Barovista's own start;
#   - python3 -c with the formula written in Python (the mean pressure, the
#     sea-level pressure and the deviation, rounded to two decimals, as JSON),
#     as scripts for a sensor do it today;
#   - qalc (Debian package qalc) evaluating the formula.
# The calls are interleaved (bench/timecalls.c), each from spawn to exit with
# its output to /dev/null. Each program's answer is printed once first, so
# that the figures are seen to agree; the medians are followed by Barovista's
# ratios to the QtCore program and to qalc.
#
#   bench/commandline.sh [BAROVISTA_BINARY] [RUNS]      (defaults: build/src/barovista, 100)
#
# Installs qalc, the C and C++ compilers and Qt's headers when missing. Not a
# test: the times depend on the machine and its load.
set -e

here=$(cd "$(dirname "$0")" && pwd)
barovista=$(readlink -f "${1:-build/src/barovista}")
runs=${2:-100}

if [ ! -x "$barovista" ]; then
    echo "commandline.sh: no program at $barovista (build it first: make build)" >&2
    exit 2
fi

packages="qalc python3 gcc g++ libc6-dev pkgconf qt6-base-dev"
. "$here/install-missing.sh"
# shellcheck disable=SC2086
install_missing $packages

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cc -O2 -o "$tmp/timecalls" "$here/timecalls.c"
# shellcheck disable=SC2046
c++ -O2 -fPIC -o "$tmp/qtcore" "$here/qtcore.cpp" $(pkg-config --cflags --libs Qt6Core)

# Debian's interpreter, not a version manager's wrapper script in PATH.
python=/usr/bin/python3
formula='import json
h, p = 321, 987.5
f = (1 - h * 0.00651 / 288) ** 5.255
s = round(p / f, 2)
print(json.dumps({"altitude": h, "pressure": p, "mean_pressure": round(f * 1013.25, 2),
                  "sea_level_pressure": s, "deviation": round(s - 1013.25, 2)}))'
expression='round(987.5 / (1 - 321 * 0.00651 / 288)^5.255; 2)'

# A home of their own: qalc writes its settings there at the first call.
export HOME="$tmp" LC_ALL=C.UTF-8 APPDATA="$tmp/appdata"
unset DISPLAY WAYLAND_DISPLAY

echo "barovista: $("$barovista" --json --altitude 321 --pressure 987,5)"
echo "qtcore:    $("$tmp/qtcore")"
echo "python3:   $($python -c "$formula")"
echo "qalc:      $(qalc -t "$expression")"
echo

"$tmp/timecalls" "$runs" \
    barovista "$barovista" --json --altitude 321 --pressure 987,5 \; \
    qtcore "$tmp/qtcore" \; \
    python3 $python -c "$formula" \; \
    qalc qalc -t "$expression" \; >"$tmp/medians"
cat "$tmp/medians"
awk '$2 == "median" { median[$1] = $3 }
     END {
         printf "barovista / qtcore: %.2f   barovista / qalc: %.2f\n",
                median["barovista"] / median["qtcore"], median["barovista"] / median["qalc"]
     }' "$tmp/medians"
echo "load average: $(cut -d ' ' -f 1-3 /proc/loadavg); $(nproc) cores"

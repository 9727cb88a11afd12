#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up benchmark: Barovista beside xcalc, galculator and a bare Qt
# window (bench/qtwindow.cpp: a main window with a menu bar and one line of
# text), each started RUNS times, interleaved, on the same virtual X server.
#
#   bench/startup.sh [BAROVISTA_BINARY] [RUNS]      (defaults: build/src/barovista, 15)
#
# Measured per start, with the same method for every program:
#   - time to window: from fork/exec to the first top-level window being
#     mapped on the X server (bench/mapwait.c listens for MapNotify on the
#     root window; no polling, no window manager in between);
#   - peak resident memory: GNU time's %M (ru_maxrss), the program running
#     until 0.5 s after its window appeared, so that it has painted;
#   - CPU time of the program over the same span.
# Prints the medians, the ratios and the machine's load average.
#
# Everything runs inside one private D-Bus session (dbus-run-session), as on
# a desktop: Qt and GTK both look for the accessibility bus at start-up.
# The first start of each program is not counted: it warms the file caches
# and brings up the accessibility bus, which a desktop session always has
# running. (Without it galculator loads Mesa's GL driver at start-up and
# takes about 85 MiB instead of 29.)
#
# Installs what it needs (Debian packages) when missing. Not a test: the
# figures depend on the machine and its load.
set -e

here=$(cd "$(dirname "$0")" && pwd)
barovista=$(readlink -f "${1:-build/src/barovista}")
runs=${2:-15}
settle_ms=500

if [ ! -x "$barovista" ]; then
    echo "startup.sh: no program at $barovista (build it first: make build)" >&2
    exit 2
fi

# xfonts-base, xfonts-75dpi and xbitmaps: the fonts and the icon that xcalc's
# own resources name. Without them xcalc falls back to the server's built-in
# font and would be measured doing less than it does on a desktop.
packages="xvfb x11-apps galculator time gcc g++ libc6-dev libx11-dev dbus-daemon xfonts-base xfonts-75dpi xbitmaps pkgconf qt6-base-dev"
. "$here/install-missing.sh"
# shellcheck disable=SC2086
install_missing $packages

tmp=$(mktemp -d)
xvfb=""
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT INT TERM

cc -O2 -o "$tmp/mapwait" "$here/mapwait.c" -lX11
# shellcheck disable=SC2046
c++ -O2 -fPIC -o "$tmp/qtwindow" "$here/qtwindow.cpp" $(pkg-config --cflags --libs Qt6Widgets)

# The same fresh home, runtime folder and data folder for every program.
mkdir -p "$tmp/home" "$tmp/runtime" "$tmp/appdata"
chmod 700 "$tmp/runtime"

# One measuring round on a new X server; $1 = title.
round() {
    rm -f "$tmp/display"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$tmp/display" >/dev/null 2>&1 &
    xvfb=$!
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        [ -s "$tmp/display" ] && break
        sleep 0.5
    done
    display=":$(cat "$tmp/display")"
    : >"$tmp/results"

    HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/runtime" XDG_CONFIG_HOME="$tmp/home/.config" \
    XDG_DATA_HOME="$tmp/home/.local/share" XDG_CACHE_HOME="$tmp/home/.cache" \
    APPDATA="$tmp/appdata" DISPLAY="$display" \
    dbus-run-session -- sh -c '
        i=0
        while [ "$i" -le "$1" ]; do
            for program in xcalc galculator "$3/qtwindow" "$2"; do
                if out=$(/usr/bin/time -f %M -o "$3/rss" "$3/mapwait" -s "$4" "$program" 2>/dev/null); then
                    # Start 0 of each program is the warm-up (see above).
                    [ "$i" -gt 0 ] && echo "$(basename "$program") $out $(cat "$3/rss")" >>"$3/results"
                else
                    echo "$(basename "$program") start $i failed" >>"$3/failures"
                fi
            done
            i=$((i + 1))
        done' sh "$runs" "$barovista" "$tmp" "$settle_ms" >"$tmp/session.log" 2>&1

    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    xvfb=""

    echo
    echo "$1"
    if [ -s "$tmp/failures" ]; then
        echo "  starts that showed no window:"; sed 's/^/    /' "$tmp/failures"; rm -f "$tmp/failures"
    fi
    # Columns of results: name, map ms, RSS KiB (wait4), CPU ms, RSS KiB (GNU time).
    awk '
        function median(list,   n, a, i, j, t) {
            n = split(list, a, " ")
            for (i = 2; i <= n; i++) { t = a[i]; for (j = i - 1; j >= 1 && a[j] > t; j--) a[j + 1] = a[j]; a[j + 1] = t }
            return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
        }
        {
            if (!($1 in count)) order[++programs] = $1
            count[$1]++; map[$1] = map[$1] " " $2; cpu[$1] = cpu[$1] " " $4; rss[$1] = rss[$1] " " $5
            if ($5 > 0 && ($3 - $5 > $5 / 20 || $5 - $3 > $5 / 20)) mismatch = 1
        }
        END {
            printf "  %-12s %5s %18s %20s %14s\n", "program", "runs", "time to window ms", "peak RSS MiB (%M)", "CPU ms"
            for (p = 1; p <= programs; p++) {
                name = order[p]
                m[name] = median(map[name]); r[name] = median(rss[name]); c[name] = median(cpu[name])
                printf "  %-12s %5d %18.1f %20.1f %14.1f\n", name, count[name], m[name], r[name] / 1024, c[name]
            }
            b = order[programs]
            if (m["xcalc"] > 0)
                printf "  %s / xcalc, time to window:   %.2f\n", b, m[b] / m["xcalc"]
            if (m["qtwindow"] > 0)
                printf "  %s / qtwindow, time to window: %.2f\n", b, m[b] / m["qtwindow"]
            if (r["galculator"] > 0)
                printf "  %s / galculator, peak RSS:    %.2f\n", b, r[b] / r["galculator"]
            if (mismatch)
                print "  note: GNU time and wait4 disagree on some peak RSS figures by more than 5 %"
        }' "$tmp/results"
}

echo "Barovista: $barovista; $runs starts per program (after one warm-up start each)"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
round "On Xvfb (1280x800, 24-bit colour), medians:"
echo
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Medians. Other work on the machine makes the times noisy; compare figures from one run."

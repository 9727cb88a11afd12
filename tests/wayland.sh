#!/bin/sh
# The real program on a Wayland compositor, with no X server anywhere: weston
# with its headless backend, once at scale 1 and once at scale 2. Proves that
# the program runs natively there (Qt loads its wayland plugin, says nothing
# else, and the program stays up) and that its window keeps the fixed client
# area of 767 x 374 logical pixels, measured on weston's own screenshot as
# the rectangle of the window colour. The compositor places the window.
#   wayland.sh BAROVISTA COLOURBOX
# Exits 77 (skipped) where weston is missing.
set -u

app=$1
colourbox=$2

skip() {
    echo "SKIPPED: $*"
    exit 77
}
command -v weston >/dev/null 2>&1 || skip "weston is not installed (scripts/install-deps installs it)"
command -v weston-screenshooter >/dev/null 2>&1 || skip "weston-screenshooter is missing (package weston)"

# A runtime folder of its own (mktemp makes it private, as Wayland asks),
# holding weston's socket, the logs and the screenshots.
tmp=$(mktemp -d)
weston_pid=""
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    [ -s "$tmp/app.log" ] && sed 's/^/  barovista: /' "$tmp/app.log"
    [ -s "$tmp/weston.log" ] && tail -n 5 "$tmp/weston.log" | sed 's/^/  weston: /'
    exit 1
}

# As a Wayland session starts a program: no X display, no theme of another
# desktop, Qt choosing its platform itself. Qt's plugin log says which one.
unset DISPLAY QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP QT_SCALE_FACTOR
XDG_RUNTIME_DIR=$tmp
XDG_SESSION_TYPE=wayland
WAYLAND_DISPLAY=barovista-test
APPDATA=$tmp/appdata
QT_LOGGING_RULES="qt.qpa.plugin.debug=true"
export XDG_RUNTIME_DIR XDG_SESSION_TYPE WAYLAND_DISPLAY APPDATA QT_LOGGING_RULES

for scale in 1 2; do
    # --debug allows the screenshooter; pixman draws into memory.
    weston --backend=headless-backend.so --use-pixman --debug --no-config --idle-time=0 \
        --width=1024 --height=768 --scale=$scale --socket=$WAYLAND_DISPLAY \
        --log="$tmp/weston.log" >/dev/null 2>&1 &
    weston_pid=$!
    i=0
    while [ ! -S "$tmp/$WAYLAND_DISPLAY" ] && [ $i -lt 100 ]; do
        sleep 0.1
        i=$((i + 1))
    done
    [ -S "$tmp/$WAYLAND_DISPLAY" ] || fail "weston did not start"

    "$app" >"$tmp/app.log" 2>&1 &
    pid=$!

    # Screenshots until the window colour shows (at most 15 s).
    want="$((767 * scale))x$((374 * scale))"
    box=""
    i=0
    while [ $i -lt 30 ]; do
        sleep 0.5
        kill -0 "$pid" 2>/dev/null || fail "scale $scale: the program ended at start"
        rm -rf "$tmp/shots" && mkdir "$tmp/shots"
        (cd "$tmp/shots" && weston-screenshooter >/dev/null 2>&1)
        shot=$(ls "$tmp/shots"/*.png 2>/dev/null | head -n 1)
        [ -n "$shot" ] && box=$("$colourbox" "$shot" 168 171 204)
        [ "${box%%+*}" = "$want" ] && break
        i=$((i + 1))
    done
    [ -n "$box" ] || fail "scale $scale: no window in the window colour on the screen"
    [ "${box%%+*}" = "$want" ] || fail "scale $scale: client area ${box%%+*}, expected $want"

    grep -q 'Successfully loaded Qt platform plugin "wayland"' "$tmp/app.log" ||
        fail "scale $scale: Qt did not load its wayland plugin"
    # Nothing but the plugin log: no fallback, no warning.
    others=$(grep -v '^qt\.qpa\.plugin: ' "$tmp/app.log")
    [ -z "$others" ] || fail "scale $scale: the program warned"
    kill -0 "$pid" 2>/dev/null || fail "scale $scale: the program ended"
    echo "scale $scale: client area ${box%%+*} at ${box#*+} on the screenshot, Qt on wayland"

    kill "$pid"
    wait "$pid" 2>/dev/null
    pid=""
    kill "$weston_pid"
    wait "$weston_pid" 2>/dev/null
    weston_pid=""
    rm -f "$tmp/$WAYLAND_DISPLAY" "$tmp/$WAYLAND_DISPLAY.lock"
done
echo "PASS: native on Wayland at scale 1 and 2"

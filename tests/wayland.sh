#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under weston's headless backend, no X server anywhere, at
# output scale 1 and 2: Qt must choose its wayland plugin itself and say
# nothing else, the program must stay up, and weston's screenshot must show
# the window colour over exactly the fixed client area of 767 x 374 logical
# pixels. The compositor places the window.
#   wayland.sh BAROVISTA COLOURBOX      (exits 77, skipped, without weston)
set -u
app=$1
colourbox=$2
if ! command -v weston >/dev/null 2>&1; then
    echo "SKIPPED: weston is not installed (scripts/install-deps installs it)"
    exit 77
fi

tmp=$(mktemp -d) # private, as a Wayland runtime folder must be
pids=""
trap 'kill $pids 2>/dev/null; wait 2>/dev/null; rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: scale $scale: $*"
    sed 's/^/  barovista: /' "$tmp/app.log"
    exit 1
}

unset DISPLAY QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP QT_SCALE_FACTOR
export XDG_RUNTIME_DIR="$tmp" XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=barovista-test \
    APPDATA="$tmp/appdata" QT_LOGGING_RULES="qt.qpa.plugin.debug=true"

for scale in 1 2; do
    # --debug lets weston-screenshooter in; pixman draws into memory.
    weston --backend=headless-backend.so --use-pixman --debug --no-config --idle-time=0 \
        --scale=$scale --socket=$WAYLAND_DISPLAY --log="$tmp/weston.log" >/dev/null 2>&1 &
    pids=$!
    i=0
    until [ -S "$tmp/$WAYLAND_DISPLAY" ] || [ $((i += 1)) -gt 100 ]; do sleep 0.1; done
    "$app" >"$tmp/app.log" 2>&1 &
    pids="$pids $!"

    want="$((767 * scale))x$((374 * scale))"
    box=""
    i=0
    while [ "${box%%+*}" != "$want" ] && [ $((i += 1)) -le 30 ]; do
        sleep 0.5
        rm -rf "$tmp/shot" && mkdir "$tmp/shot"
        (cd "$tmp/shot" && weston-screenshooter >/dev/null 2>&1)
        box=$("$colourbox" "$tmp"/shot/*.png 168 171 204 2>/dev/null)
    done
    [ "${box%%+*}" = "$want" ] || fail "client area '${box%%+*}' on the screen, expected $want"
    grep -q 'Successfully loaded Qt platform plugin "wayland"' "$tmp/app.log" || fail "not on wayland"
    [ -z "$(grep -v '^qt\.qpa\.plugin: ' "$tmp/app.log")" ] || fail "the program warned"
    kill -0 ${pids#* } 2>/dev/null || fail "the program ended"
    echo "scale $scale: client area $want at ${box#*+} on weston's screenshot"

    kill $pids
    wait 2>/dev/null
    rm -f "$tmp/$WAYLAND_DISPLAY" "$tmp/$WAYLAND_DISPLAY.lock"
done

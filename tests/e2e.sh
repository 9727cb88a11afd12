#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# End to end: the real program on a real X server (Xvfb), driven with real key
# events from xdotool, no window manager. Proves outside QtTest that the key
# filters turn a typed "," into ".", that Enter moves from the reading to the
# altitude to the evaluation, that Alt+B evaluates, that closing the window
# runs the shutdown that writes the history, and that the next start restores
# it; that the context-menu key in the altitude field takes a result off
# the screen, so that it is not saved; that keys released where they were not
# pressed keep a result, while a key typed in the reading field clears it
# wherever it is released; and, under openbox, where windows open.
#   e2e.sh BAROVISTA RECORDDUMP XCLOSE
# Exits 77 (skipped) where Xvfb, xdotool, openbox, x11-utils or xclose is
# missing.
# For the comparison with the Windows build (e2e-wine.sh):
#   BAROVISTA_RUNNER    a command that starts BAROVISTA (split at blanks);
#                       the last three starts are then left out
#   E2E_OUT             folder that receives the history after the first and
#                       the second run (run1.dat, run2.dat)
#   E2E_SECOND_START    a history file put in place before the second start
set -u

app=$1
dump=$2
xclose=${3:-}

skip() {
    echo "SKIPPED: $*"
    exit 77
}
command -v Xvfb >/dev/null 2>&1 || skip "Xvfb is not installed (scripts/install-deps installs it)"
command -v xdotool >/dev/null 2>&1 || skip "xdotool is not installed (scripts/install-deps installs it)"
command -v openbox >/dev/null 2>&1 && command -v xwininfo >/dev/null 2>&1 ||
    skip "openbox or x11-utils is not installed (scripts/install-deps installs them)"
if [ -z "$xclose" ] || [ ! -x "$xclose" ]; then
    skip "xclose was not built: the X11 headers (libx11-dev) are missing"
fi

tmp=$(mktemp -d)
xvfb=""
pid=""
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    [ -s "$tmp/app.log" ] && sed 's/^/  barovista: /' "$tmp/app.log"
    exit 1
}

# Xvfb chooses a free display itself and writes its number to descriptor 3.
# -noreset: by default the server resets when its last client leaves, and
# refuses the next start's connection while it does.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -screen 1 1024x600x24 -nolisten tcp -noreset \
    3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
i=0
while [ ! -s "$tmp/display" ] && [ $i -lt 100 ]; do
    sleep 0.1
    i=$((i + 1))
done
[ -s "$tmp/display" ] || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
DISPLAY=:$(head -n 1 "$tmp/display")
export DISPLAY
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
APPDATA="$tmp/appdata"
export APPDATA
mkdir -p "$APPDATA"
history="$APPDATA/barovista/save.dat"

# The first visible window whose title matches $1, waited for up to $2
# seconds. A search that fails is made again: a window that closes while
# xdotool looks at it (Wine makes and drops windows at start-up) ends that
# search with an X error.
findWindow() {
    timeout "$2" sh -c 'until xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 | grep .; do
        sleep 0.2; done' sh "$1"
}

# Starts the program and gives its window the keyboard, as a click would.
start() {
    # shellcheck disable=SC2086
    ${BAROVISTA_RUNNER:-} "$app" >"$tmp/app.log" 2>&1 &
    pid=$!
    win=$(findWindow '^Barovista 1\.1$' 30)
    [ -n "$win" ] || fail "the window did not appear"
    xdotool windowfocus --sync "$win" || fail "cannot focus the window"
    sleep 0.5
}

# Closes the window as its close button does and waits for the program to end.
close() {
    "$xclose" "$win" || fail "cannot send the close request"
    i=0
    while kill -0 "$pid" 2>/dev/null && [ $i -lt 150 ]; do
        sleep 0.1
        i=$((i + 1))
    done
    kill -0 "$pid" 2>/dev/null && fail "the program did not end after its window was closed"
    wait "$pid"
    status=$?
    pid=""
    [ $status -eq 0 ] || fail "the program ended with status $status"
}

dumped() {
    "$dump" "$history" >"$tmp/dump" 2>&1 || fail "the history does not decode: $(cat "$tmp/dump")"
}
expect() { # NAME KIND VALUE
    line=$(awk -F '\t' -v name="$1" '$1 == name' "$tmp/dump")
    [ "$line" = "$(printf '%s\t%s\t%s' "$1" "$2" "$3")" ] \
        || fail "$1 is \"$line\", expected $2 \"$3\""
}
expectTime() { # NAME
    awk -F '\t' -v name="$1" '$1 == name && $2 == "text" && $3 ~ /^[0-2][0-9]:[0-5][0-9]:[0-5][0-9]$/' \
        "$tmp/dump" | grep -q . || fail "$1 is no time of day: $(grep "^$1" "$tmp/dump")"
}

today=$(date +%F)

keep() { # NAME: the history after a run, for E2E_OUT
    [ -z "${E2E_OUT:-}" ] || cp "$history" "$E2E_OUT/$1.dat" || fail "cannot keep the history in $E2E_OUT"
}

# First start: a reading typed with a comma, Enter, the altitude, Enter to
# the button, Enter to evaluate.
start
[ -f "$history" ] || fail "the first start wrote no history file"
xdotool type --delay 30 '950,5'
xdotool key Return
xdotool type --delay 30 '500'
xdotool key Return
xdotool key Return
sleep 0.3
close
dumped
expect hoehe text 500
expect luftdruck text 950.5
expect mitte text '954,5  hPa'
expect meer text '1009  hPa'
expect infotext text 'Aktueller Luftdruck -4,25 hPa unter mittlerem Luftdruck bezogen auf Meereshöhe.'
expect kali text ''
expect lastmess text '1009  hPa'
expect datelastmess date "$today"
expectTime timelastmess
expect minmeer double 1009
expect maxmeer double 1009
expect absolut_lastmess double 950.5
expect absolut_maxmeer double 950.5
expect absolut_minmeer double 950.5
expect datestart date "$today"
echo "first run: typed 950,5 / 500 with Enter, history holds 950.5 and 1009 hPa"
keep run1
if [ -n "${E2E_SECOND_START:-}" ]; then
    cp "$E2E_SECOND_START" "$history" || fail "cannot put $E2E_SECOND_START in place"
    echo "second run starts on $E2E_SECOND_START"
fi

# Second start: the restored altitude stays, a new reading replaces the old
# one (Backspace, then the digits), and Alt+B evaluates.
start
xdotool key BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 30 '960,4'
xdotool key alt+b
sleep 0.3
close
dumped
expect hoehe text 500
expect luftdruck text 960.4
expect meer text '1019,51  hPa'
expect infotext text 'Aktueller Luftdruck 6,26 hPa über mittlerem Luftdruck bezogen auf Meereshöhe.'
expect lastmess text '1019,51  hPa'
expect minmeer double 1009
expect maxmeer double 1019.51
expect absolut_lastmess double 960.4
expect absolut_maxmeer double 960.4
expect absolut_minmeer double 950.5
expect datestart date "$today"
echo "second run: restored altitude 500, Alt+B evaluated 960,4 to 1019,51 hPa"
keep run2

# Third start without an evaluation: closing writes nothing.
cp "$history" "$tmp/before"
start
close
cmp -s "$history" "$tmp/before" || fail "closing without an evaluation changed the history"
echo "third run: closed without an evaluation, history unchanged"

# Clicks at X Y of the main window's client area, 374 pixels high below the
# menu bar.
clickAt() {
    bar=$(($(xdotool getwindowgeometry --shell "$win" | sed -n 's/^HEIGHT=//p') - 374))
    xdotool mousemove --window "$win" --sync "$1" $((bar + $2)) click 1
    sleep 0.3
}

# Fourth start: evaluate, click into the altitude field, press the
# context-menu key, close its menu with a click on an empty spot of
# "Auswertung". The key took the result off the screen, so closing saves
# nothing.
start
xdotool type --delay 30 '1000'
xdotool key Return
xdotool type --delay 30 '100'
xdotool key Return Return
sleep 0.3
clickAt 134 293   # the altitude field
xdotool key Menu
sleep 0.5
clickAt 26 158    # an empty spot of the results frame
close
cmp -s "$history" "$tmp/before" || fail "the result stayed on screen after the context-menu key and was saved"
echo "fourth run: the context-menu key cleared the result, history unchanged"

# The last three starts are for Linux: under Wine, Wine decides focus and place.
[ -n "${BAROVISTA_RUNNER:-}" ] && echo "PASS" && exit 0
focusOn() { # TITLE: waits for the window and gives it the keyboard
    xdotool windowfocus --sync "$(findWindow "$1" 10)" || fail "no $1"
}
# Fifth start: Alt, Right, Right, Enter run Hilfe; after Esc the reading field
# has the focus again. Enter, held, closes the report of Alt+S and is released
# in the reading field; Shift+Tab's Tab is released in the altitude field.
start
xdotool key alt sleep 0.3 key Right Right Return && focusOn 'Hilfe$'
xdotool key Escape && focusOn '^Barovista 1\.1$'
xdotool key BackSpace BackSpace BackSpace BackSpace BackSpace type '955'
xdotool key Return Return Return sleep 0.3 key alt+s && focusOn 'Statistik$'
xdotool keydown Return sleep 0.3 keyup Return sleep 0.3 && focusOn '^Barovista 1\.1$'
xdotool key shift+Tab shift+Tab shift+Tab shift+Tab sleep 0.3
close
dumped
expect lastmess text '1013,78  hPa'
echo "fifth run: the menu by keyboard gave the focus back; Enter closing the report and Shift+Tab kept the result"

# Sixth start: a fast typist's rollover. Evaluated, back into the reading
# field; 5 goes down, Enter moves on, 5 comes up in the altitude field. The
# reading changed, so the result left the screen and closing saves nothing.
cp "$history" "$tmp/before"
start
xdotool key Return Return Return sleep 0.3 key shift+Tab shift+Tab keydown 5 key Return keyup 5 sleep 0.3
close
cmp -s "$history" "$tmp/before" || fail "the rollover kept the old result beside the new reading, and it was saved"
echo "sixth run: 5 released after Enter still cleared the result"

# Seventh start, on the second screen (1024 x 600) at scale 1.75 under openbox:
# the frame round the main window, larger than the screen, begins on it; the
# help window's lies wholly on it.
DISPLAY=$DISPLAY.1 QT_SCALE_FACTOR=1.75 && export QT_SCALE_FACTOR
openbox >/dev/null 2>&1 & wm=$!
timeout 10 sh -c 'until xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; do sleep 0.1; done' || fail "no openbox"
frame() { # TITLE: left, top, right and bottom of openbox's frame round the window
    w=$(findWindow "$1" 10)
    xwininfo -id "$(xwininfo -children -id "$w" | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p')" |
        awk '/upper-left X/ {x=$NF} /upper-left Y/ {y=$NF} /Width/ {w=$NF} /Height/ {h=$NF} END {print x, y, x+w, y+h}'
}
start
set -- $(frame '^Barovista 1\.1$')
[ "$1" -ge 0 ] && [ "$2" -ge 0 ] || fail "the main window's frame begins at $1, $2"
xdotool key F1
set -- $(frame 'Hilfe$')
[ "$1" -ge 0 ] && [ "$2" -ge 0 ] && [ "$3" -le 1024 ] && [ "$4" -le 600 ] || fail "the help window's frame spans $*"
focusOn 'Hilfe$' && xdotool key Escape
close
echo "seventh run: on 1024 x 600 at scale 1.75 the windows' frames begin on the screen"

echo "PASS"

#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The command line of the installed program, run without a display:
# --help (also "/?") and --version answer on stdout, anything else is refused with a
# usage line on stderr, and no argument at all names the missing display.
# The evaluation, calibration and statistics without a window: worked
# examples and refused values, compared byte for byte.
#   command_line.sh BAROVISTA VERSION
bin=${1:?program}
version=${2:?version}

out=$(mktemp)
err=$(mktemp)
want_file=$(mktemp)
data=$(mktemp -d)
trap 'rm -rf "$out" "$err" "$want_file" "$data"' EXIT
status=0

# check STATUS STDOUT_PATTERN STDERR_PATTERN [ARGUMENT...]: runs the program
# and compares its exit status and what it wrote, its lines joined by blanks,
# with extended regular expressions ("^$": nothing).
check() {
    want=$1 want_out=$2 want_err=$3
    shift 3
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin" "$@" >"$out" 2>"$err"
    got=$?
    text_out=$(cat "$out") text_err=$(cat "$err")
    if [ "$got" != "$want" ] ||
       ! paste -sd ' ' "$out" | grep -Eq -- "$want_out" ||
       ! paste -sd ' ' "$err" | grep -Eq -- "$want_err"; then
        echo "FAIL barovista $*: exit $got (want $want)"
        echo "  stdout: $text_out"
        echo "  stderr: $text_err"
        status=1
    else
        echo "ok   barovista $*"
    fi
}

help="^Usage: .*barovista \[options\] .*-h, --help .*-v, --version "
usage="Usage: barovista \[--help \| --version\] .* barovista --statistics \[--json\]$"
check 0 "$help" "^$" --help
check 0 "$help" "^$" -h
check 0 "$help" "^$" "/?"
check 0 "^barovista $version$" "^$" --version
check 0 "^barovista $version$" "^$" -v
check 2 "^$" "^barovista: Unknown option 'frob'\. $usage" --frob
check 2 "^$" "^barovista: Unknown option 'hv'\. $usage" -hv
check 2 "^$" "^barovista: unexpected argument 'save\.dat' $usage" save.dat
check 2 "^$" "^barovista: Unknown option 'x'\. $usage" --version -x
# Without a display: what is missing, not a developer's command.
check 1 "^$" "^barovista: cannot open a window: no display found[^|]*desktop session\.$"
if grep -q make "$err"; then
    echo "FAIL the no-display message names make: $(cat "$err")"
    status=1
fi

# expect STATUS STDOUT STDERR [ARGUMENT...]: exact comparison, "\n" for a
# line end; a fresh APPDATA, under the locale $locale (default C.UTF-8, whose
# display form is German).
expect() {
    want=$1
    printf '%b' "$2" >"$want_file"
    want_err=$(printf '%b' "$3")
    shift 3
    rm -rf "$data/barovista"
    [ -z "$prepare" ] || eval "$prepare"
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL="${locale:-C.UTF-8}" APPDATA="$data" \
        "$bin" "$@" >"$out" 2>"$err"
    got=$?
    if [ "$got" != "$want" ] || ! cmp -s "$out" "$want_file" || [ "$(cat "$err")" != "$want_err" ]; then
        echo "FAIL barovista $*: exit $got (want $want)"
        diff "$want_file" "$out" | sed 's/^/  stdout /'
        echo "  stderr: $(cat "$err")"
        status=1
    elif [ -z "$prepare" ] && [ -e "$data/barovista" ] &&
         { [ "$want" != 0 ] || ! echo "$*" | grep -q -- --record; }; then
        echo "FAIL barovista $*: wrote into $data/barovista"
        status=1
    else
        echo "ok   barovista $*"
    fi
}
over="hPa über mittlerem Luftdruck bezogen auf Meereshöhe."
under="hPa unter mittlerem Luftdruck bezogen auf Meereshöhe."
equal="Aktueller Luftdruck entspricht dem Mittleren Luftdruck bezogen auf Meereshöhe."
calib="Umgerechnet auf die aktuelle Höhe beträgt der Luftdruck \ndes Wetterdienstes"
deviation="Die Abweichung der Barometeranzeige beträgt"
expect 0 "1013,25  hPa\n1013,25  hPa\n$equal\n" "" --altitude 0 --pressure 1013.25
expect 0 "1013,25  hPa\n1020  hPa\nAktueller Luftdruck 6,75 $over\n" "" --altitude 0 --pressure 1020
expect 0 "954,5  hPa\n1013,78  hPa\nAktueller Luftdruck 0,53 $over\n" "" --pressure 955 --altitude 0500
expect 0 "898,54  hPa\n1014,9  hPa\nAktueller Luftdruck 1,65 $over\n" "" --altitude 1000 --pressure 900,
expect 0 "1013,25  hPa\n1010  hPa\nAktueller Luftdruck -3,25 $under\n" "" --altitude 0 --pressure 1010
expect 0 "1013,25  hPa\n0  hPa\nAktueller Luftdruck -1013,25 $under\n" "" --altitude 0 --pressure ,
expect 0 "263,63  hPa\n1013,25  hPa\n$equal\n" "" --altitude 9999 --pressure 263,63
expect 0 "898,54  hPa\n1014,9  hPa\nAktueller Luftdruck 1,65 $over\n\n$calib 898,32  hPa. \n\n$deviation 1,68  hPa.\n" "" \
    --altitude 1000 --pressure 900 --weather 1013
# A reading with three decimals: ties to even, unrounded in the evaluation,
# rounded first in the calibration.
expect 0 "1013,25  hPa\n950,12  hPa\nAktueller Luftdruck -63,13 $under\n\n$calib 950  hPa. \n\n$deviation 0,12  hPa.\n" "" \
    --altitude 0 --pressure 950,125 --weather 950
expect 0 "{\"altitude\":1000,\"pressure\":900,\"mean_pressure\":898.54,\"sea_level_pressure\":1014.9,\"deviation\":1.65,\"message\":\"Aktueller Luftdruck 1,65 $over\",\"calibration\":{\"weather_service\":1020.5,\"weather_service_at_altitude\":904.97,\"barometer_deviation\":-4.97,\"message\":\"Umgerechnet auf die aktuelle Höhe beträgt der Luftdruck \\\\ndes Wetterdienstes 904,97  hPa. \\\\n\\\\n$deviation -4,97  hPa.\"}}\n" "" \
    --json --altitude 1000 --pressure 900 --weather 1020,5
locale=de_DE.UTF-8 expect 0 "{\"altitude\":321,\"pressure\":987.5,\"mean_pressure\":975.21,\"sea_level_pressure\":1026.02,\"deviation\":12.77,\"message\":\"Aktueller Luftdruck 12,77 $over\"}\n" "" \
    --json --altitude 321 --pressure 987,5
expect 0 "Keine historischen Daten vorhanden!\n" "" --statistics
expect 0 "{\"statistics\":null}\n" "" --statistics --json
# Refused: status 2, one line naming the option, nothing on stdout, nothing
# written even where --record asks.
altitude="barovista: --altitude erwartet die Höhe in ganzen Metern, 0 bis 9999 (bis zu vier Ziffern), nicht"
reading="hPa: bis zu sieben Zeichen, Ziffern und höchstens ein Komma oder Punkt, wie im Eingabefeld, nicht"
expect 2 "" "$altitude „12.5“." --altitude 12.5 --pressure 950 --record
expect 2 "" "$altitude „-5“." --altitude -5 --pressure 950 --record
expect 2 "" "$altitude „10000“." --altitude 10000 --pressure 950 --record
expect 2 "" "$altitude „“." --altitude "" --pressure 950 --record
expect 2 "" "barovista: --pressure erwartet den Luftdruck laut Barometer in $reading „9,5,1“." --altitude 5 --pressure 9,5,1 --record
expect 2 "" "barovista: --pressure erwartet den Luftdruck laut Barometer in $reading „1013.255“." --altitude 5 --pressure 1013.255
expect 2 "" "barovista: --pressure erwartet den Luftdruck laut Barometer in $reading „ 950“." --altitude 5 --pressure " 950"
expect 2 "" "barovista: --weather erwartet den Luftdruck des Wetterdienstes in $reading „1e3“." --altitude 5 --pressure 950 --weather 1e3 --record
expect 2 "" "barovista: --altitude braucht auch --pressure, den Luftdruck laut Barometer in hPa." --altitude 500 --record
expect 2 "" "barovista: --pressure braucht auch --altitude, die Höhe in ganzen Metern." --pressure 950 --statistics
expect 2 "" "barovista: --record braucht auch --altitude und --pressure." --record
expect 2 "" "barovista: --weather braucht auch --altitude und --pressure." --weather 1013
expect 2 "" "barovista: --json braucht --altitude und --pressure oder --statistics." --json
expect 2 "" "barovista: --altitude ist mehrfach angegeben; erwartet wird ein Wert." --altitude 1 --altitude 2 --pressure 9
expect 2 "" "barovista: --weather ist mehrfach angegeben; erwartet wird ein Wert." --altitude 1 --pressure 9 --weather 1 --weather 2
# A control character is refused like any other, and shown, not sent to
# the terminal: a backspace would make "9\b5" look like 5.
expect 2 "" "barovista: --pressure erwartet den Luftdruck laut Barometer in $reading „9\\\\x085“." --altitude 5 --pressure "$(printf '9\b5')"
expect 2 "" "$altitude „\\\\x1b[31m“." --altitude "$(printf '\033[31m')" --pressure 5
# A folder in the history's place is left alone, with a status of its own.
prepare='mkdir -p "$data/barovista/save.dat"'
folder="An Stelle der Verlaufsdatei $data/barovista/save.dat steht ein Ordner."
expect 5 "1013,13  hPa\n2  hPa\nAktueller Luftdruck -1011,25 $under\n" \
    "barovista: Die Messung wurde nicht gespeichert: $folder" --altitude 1 --pressure 2 --record
expect 5 "" "barovista: $folder" --statistics
[ -d "$data/barovista/save.dat" ] || { echo "FAIL the folder in the history's place is gone"; status=1; }
# A FIFO at the lock file's place is never opened (it would block): left
# alone, named, nothing written.
history="$data/barovista/save.dat"
prepare='mkdir -p "$data/barovista" && mkfifo "$history.lock"'
expect 5 "1013,13  hPa\n2  hPa\nAktueller Luftdruck -1011,25 $under\n" \
    "barovista: Die Messung wurde nicht gespeichert: An Stelle der Sperrdatei $history.lock steht keine gewöhnliche Datei; solange sie dort steht, kann die Verlaufsdatei $history nicht geändert werden." \
    --altitude 1 --pressure 2 --record
[ -p "$history.lock" ] && [ ! -e "$history" ] || { echo "FAIL the FIFO at the lock's place was touched"; status=1; }
# A file where the data folder belongs: not saved, 4, and nothing is called
# unchanged where there was no history file.
prepare='printf x >"$data/barovista"'
expect 4 "1013,13  hPa\n2  hPa\nAktueller Luftdruck -1011,25 $under\n" \
    "barovista: Die Messung wurde nicht gespeichert: Der Ordner $data/barovista konnte nicht angelegt werden." \
    --altitude 1 --pressure 2 --record
# A damaged history: the statistics name the file and say it is damaged.
damaged="barovista: Die Verlaufsdatei $history ist beschädigt: Unbekannte Typkennung (1. Wert „hoehe“, ab Byte 0)."
prepare='mkdir -p "$data/barovista" && printf kaputt >"$history"'
expect 5 "" "$damaged" --statistics
# Held by another window (a live process's lock): busy, 3, also beside
# statistics that fail on their own.
sleep 60 &
holder=$!
prepare="$prepare"' && printf "%s\nsleep\n%s\n" $holder "$(uname -n)" >"$history.lock"'
expect 3 "1013,13  hPa\n2  hPa\nAktueller Luftdruck -1011,25 $under\n" \
    "barovista: Die Messung wurde nicht gespeichert: Die Verlaufsdatei $history wird gerade von einem anderen Barovista-Fenster benutzt. Ist kein anderes Barovista-Fenster offen, löschen Sie bitte die Sperrdatei $history.lock.\n$damaged" \
    --altitude 1 --pressure 2 --record --statistics
kill $holder
# Under an Arabic locale the display keeps its separator "٫"; the history,
# in Windows-1252, holds the comma instead, never "?".
prepare=""
locale=ar_EG.UTF-8 expect 0 "975٫21  hPa\n1026٫02  hPa\nAktueller Luftdruck 12٫77 $over\n" "" --altitude 321 --pressure 987,5 --record
grep -q '1026,02  hPa' "$history" && ! grep -q '?' "$history" || { echo "FAIL the Arabic separator was not stored as a comma"; status=1; }
# A data folder that may be written but not listed cannot be synced: the
# measurement is saved all the same, status 0, with a warning. (Root lists any folder.)
if [ "$(id -u)" != 0 ]; then
    prepare='mkdir -p "$data/barovista" && chmod 300 "$data/barovista"'
    expect 0 "1013,13  hPa\n2  hPa\nAktueller Luftdruck -1011,25 $under\n" \
        "barovista: Die Verlaufsdatei $history wurde gespeichert, aber ihr Ordner $data/barovista ließ sich nicht auf den Datenträger übertragen: Keine Berechtigung (Permission denied). Nach einem Stromausfall könnte die neue Fassung fehlen." \
        --altitude 1 --pressure 2 --record
    chmod 700 "$data/barovista"
    [ -s "$history" ] || { echo "FAIL nothing saved into the folder that cannot be listed"; status=1; }
fi

# The texts of a history file reach the terminal with their control
# characters shown, not obeyed.
prepare=""
rm -rf "$data/barovista"
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=C.UTF-8 APPDATA="$data" "$bin" "$@"; }
run --altitude 500 --pressure 950 --record >/dev/null && perl -pi -e 's/  hPa/\e[31m/g' "$data/barovista/save.dat"
run --statistics >"$out"
if ! grep -q 'Letzte Messung:    1008,47\\x1b\[31m / absolut' "$out" || grep -q "$(printf '\033')" "$out"; then
    echo "FAIL --statistics sent a history text's escape sequence to the terminal: $(cat -v "$out")"
    status=1
fi

# Recorded without --weather, the weather-service value of the history
# stays, as a window keeps it in its field.
rm -rf "$data/barovista"
run --altitude 321 --pressure 987,5 --weather 1021,3 --record >/dev/null && run --altitude 500 --pressure 955 --record >/dev/null
grep -q 1021.3 "$data/barovista/save.dat" || { echo "FAIL --record without --weather lost the weather-service value"; status=1; }

# An answer that cannot be written (a full disk, a closed stdout) is a
# failure of its own, said on stderr.
for args in "--altitude 321 --pressure 987,5 --json" "--altitude 321 --pressure 987,5" --statistics --version; do
    for to in /dev/full closed; do
        # shellcheck disable=SC2086
        if [ $to = closed ]; then run $args >&- 2>"$err"; else run $args >$to 2>"$err"; fi
        got=$?
        why="Der Datenträger ist voll"
        [ $to = closed ] && why="Die Ausgabe ist geschlossen"
        if [ $got != 6 ] || [ "$(cat "$err")" != "barovista: Die Antwort konnte nicht ausgegeben werden: $why." ]; then
            echo "FAIL barovista $args to $to: exit $got (want 6), stderr: $(cat "$err")"
            status=1
        fi
    done
done

# A display that is named but not there: status 1 and a line of the
# program's own, not Qt's abort.
n=4711
while [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:$n "$bin" >"$out" 2>"$err"
got=$?
if [ $got != 1 ] || ! grep -q "^barovista: cannot open a window: the display :$n cannot be reached" "$err"; then
    echo "FAIL barovista on the dead display :$n: exit $got (want 1), stderr: $(cat "$err")"
    status=1
fi

# Without a window nothing of the window is loaded: neither its module nor
# Qt Gui, Qt Widgets, X11, xcb, Wayland, EGL/GL or the font libraries. The
# loader's trace names every library opened; QtCore must be among them, or
# there was no trace to look at.
for args in --help --version "--altitude 321 --pressure 987,5 --weather 1021,3 --json" \
            "--altitude 321 --pressure 987,5 --record --statistics"; do
    # shellcheck disable=SC2086
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=C.UTF-8 APPDATA="$data" LD_DEBUG=files \
        "$bin" $args >/dev/null 2>"$err"
    window=$(grep -Eo 'file=[^ ]*(barovista-window|libQt6(Gui|Widgets|XcbQpa|Wayland|OpenGL)|libX11|libxcb|libwayland|libEGL|libGL|libOpenGL|libfontconfig|libfreetype|libharfbuzz|libxkbcommon)[^ ]*' "$err" | sort -u | tr '\n' ' ')
    if ! grep -q 'file=libQt6Core' "$err" || [ -n "$window" ]; then
        echo "FAIL barovista $args loads the window's libraries: ${window:-(no loader trace)}"
        status=1
    else
        echo "ok   barovista $args loads no window library"
    fi
done
# A window does load its module, from the program's own private folder: a
# platform that does not exist ends it there with status 1, display or not.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=none-such LD_DEBUG=files "$bin" >/dev/null 2>"$err"
got=$?
if [ $got != 1 ] || ! grep -q 'file=[^ ]*/barovista/barovista-window\.so \[0\];  generating link map' "$err" ||
   ! grep -q '^barovista: cannot open a window: the display asked for cannot be reached' "$err"; then
    echo "FAIL barovista without options did not load barovista-window.so (exit $got)"
    status=1
else
    echo "ok   barovista without options loads its window's module"
fi
exit $status

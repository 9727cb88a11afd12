#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The command line of the installed program, run without a display:
# --help (also "/?") and --version answer on stdout, anything else is refused with a
# usage line on stderr, and no argument at all names the missing display.
#   command_line.sh BAROVISTA VERSION
bin=${1:?program}
version=${2:?version}

out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
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
usage="Usage: barovista \[--help \| --version\]$"
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
exit $status

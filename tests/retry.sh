#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/retry against a command whose n-th run exits with the n-th of the
# given statuses (the last one again from then on): which statuses are tried
# again, how many tries in all, and the status reported.
#   retry.sh SCRIPTS_DIR
retry=${1:?scripts folder}/retry
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fails=0
# check STATUSES TRIES "RUN STATUSES" EXPECTED_STATUS EXPECTED_RUNS
check() {
    : >"$tmp/runs"
    RETRY_TRIES=$2 RETRY_WAIT=0 "$retry" "$1" sh -c '
        echo run >>"$0"; n=$(wc -l <"$0"); shift $((n - 1 < $# - 1 ? n - 1 : $# - 1))
        exit "$1"' "$tmp/runs" $3 2>/dev/null
    status=$? runs=$(wc -l <"$tmp/runs")
    if [ "$status" -ne "$4" ] || [ "$runs" -ne "$5" ]; then
        echo "FAIL: retry \"$1\" (tries $2) over exits $3: status $status after $runs runs, want $4 after $5"
        fails=$((fails + 1))
    fi
}
check "16 20" 3 "0" 0 1
check "16 20" 3 "20 16 0" 0 3
check "16 20" 3 "20" 20 3
check "16 20" 3 "4 0" 4 1
check "16 20" 3 "20 4 0" 4 2
check "100" 2 "100 0" 0 2
check "100" 1 "100 0" 100 1
check "100" 3 "1 0" 1 1
[ "$fails" -eq 0 ] && echo "retry: every case as expected"
exit $((fails > 0))

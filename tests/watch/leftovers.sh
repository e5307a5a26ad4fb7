#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a test run has left running: waits up to SECONDS (default 10) for the
# processes carrying the run's mark to end; those still running then are
# listed (pid, parent, seconds running, command), stopped, and the script
# fails. See marked.sh for the mark.
# Usage: leftovers.sh NAME=VALUE [SECONDS] [WHAT]
set -uo pipefail
here=$(dirname "$0")
mark=$1
seconds=${2:-10}
what=${3:-the test}
unset "${mark%%=*}"

deadline=$((SECONDS + seconds))
while pids=$(bash "$here/marked.sh" "$mark") && [ -n "$pids" ] && ((SECONDS < deadline)); do
  sleep 0.2
done
[ -n "$pids" ] || exit 0
left=$(ps -o pid=,ppid=,etimes=,args= -p "${pids//$'\n'/,}")
[ -n "$left" ] || exit 0
echo "FAIL $what left running (${seconds} s after it ended):"
sed 's/^/     /' <<<"$left"
for signal in TERM KILL; do
  # shellcheck disable=SC2086
  kill -"$signal" $pids 2>/dev/null
  for _ in $(seq 25); do
    pids=$(bash "$here/marked.sh" "$mark")
    [ -n "$pids" ] || break 2
    sleep 0.2
  done
done
exit 1

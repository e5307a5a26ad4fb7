#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test's command with a bound on its time, so that a test that hangs
# says where: once SECONDS have passed, it prints where the test is
# (state.sh: its processes, every thread's backtrace, its D-Bus names, its
# session's logs), makes the test's Python scripts print their own
# tracebacks, stops everything the test started and fails. CTest's TIMEOUT
# is set above SECONDS and only a backstop. When the command has ended, in
# time, nothing it started may still run (leftovers.sh).
#
# Everything the command starts carries a mark in its environment
# (VELITAR_WATCHED, see marked.sh); the session helpers put the logs worth
# reading on a hang into VELITAR_WATCH_LOGS.
# Usage: watchdog.sh SECONDS COMMAND [ARG...]
set -uo pipefail
here=$(dirname "$(realpath "$0")")
seconds=$1
shift
what=$(for word in "$@"; do printf '%s ' "${word##*/}"; done)
what=${what:0:100}
mark=VELITAR_WATCHED=$$.$(date +%s%N)
logs=$(mktemp -d)
# No core files of what is stopped here.
ulimit -c 0

# stop: the command first, so that its helpers' own clean-up runs, then
# whatever carries the mark.
stop() {
  local pids
  kill -TERM "$child" 2>/dev/null
  for _ in $(seq 50); do
    kill -0 "$child" 2>/dev/null || break
    sleep 0.1
  done
  for signal in TERM KILL; do
    for _ in $(seq 50); do
      pids=$(bash "$here/marked.sh" "$mark")
      [ -n "$pids" ] || break 2
      # shellcheck disable=SC2086 # one pid a word
      kill "-$signal" $pids 2>/dev/null
      sleep 0.1
    done
  done
  wait "$child" 2>/dev/null
}
finish() {
  rm -rf "$logs"
  exit "$1"
}
trap 'stop; finish 143' TERM HUP
trap 'stop; finish 130' INT

began=$SECONDS
env "$mark" VELITAR_WATCH_LOGS="$logs" PYTHONFAULTHANDLER=1 "$@" &
child=$!
sleep "$seconds" &
timer=$!
wait -n -p ended "$child" "$timer"
status=$?
if [ "${ended:-}" = "$child" ]; then
  kill "$timer" 2>/dev/null
  wait "$timer" 2>/dev/null
  bash "$here/leftovers.sh" "$mark" 10 "$what" || { [ "$status" -ne 0 ] || status=1; }
  finish "$status"
fi

echo "TIMEOUT $what has not ended within $seconds s; where it is:"
bash "$here/state.sh" "$mark" "$logs"
# Python's own tracebacks (faulthandler, on SIGABRT), on the test's output.
for pid in $(bash "$here/marked.sh" "$mark"); do
  [[ $(cat "/proc/$pid/comm" 2>/dev/null) == python3* ]] && kill -ABRT "$pid" 2>/dev/null
done
sleep 1
stop
echo "FAIL $what stopped after $((SECONDS - began)) s: it did not end within $seconds s (above: where it was)"
finish 124

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the whole test suite again and again with every processor kept busy by
# a load generator (stress-ng, at normal priority), so that a test that
# passes or fails by chance shows: CTest's suite N times in a row on this
# system (Debian 12), N13 times on Debian 13 (in the chroot of
# test-debian13.sh) and the Windows suite M times under Wine (its tests, its
# screenshots and its installer), each in a fresh Wine session. Prints each run's time and the tests that failed in it, and
# ends with status 1 if any run failed. Not part of CI: one run of the Linux
# suite takes about as long as the suite does on an idle machine, twice over.
#
# The Windows suite is the one scripts/windows/build.sh built in the chroot's
# copy of the checkout (VELITAR_WINDOWS_CHECKOUT, default
# /root/velitar-windows): run that first, from this commit.
#
# Usage: scripts/repeat-under-load.sh [N [N13 [M]]]   (default 10 10 5; 0 skips)
#   Each run's output is kept in build/repeat-under-load/ (Debian 13's and
#   Windows' in the chroot's copies).
#   VELITAR_LOAD_WORKERS  stress-ng's workers (default: one a processor); 0
#                         for none, for a repeat run beside another one that
#                         brings its load (each then shares the processors
#                         with the other's suite as well)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds() { date +%s; }

# under_load COMMAND...: runs the command while stress-ng keeps every
# processor busy.
under_load() {
  local load="" status=0 workers=${VELITAR_LOAD_WORKERS:-$(nproc)}
  if [ "$workers" -gt 0 ]; then
    stress-ng --cpu "$workers" --timeout 0 >/dev/null 2>&1 &
    load=$!
  fi
  "$@" || status=$?
  if [ -n "$load" ]; then
    kill -TERM "$load" 2>/dev/null
    wait "$load" 2>/dev/null || true
  fi
  return "$status"
}

# repeat WHAT TIMES LOGDIR COMMAND...: the command TIMES times in a row, each
# run's time and failed tests (CTest's list) printed; fails if any run failed.
repeat() {
  local what=$1 times=$2 logs=$3 i began status failed=0 took=() failures
  shift 3
  mkdir -p "$logs"
  for ((i = 1; i <= times; i++)); do
    began=$(seconds)
    status=0
    "$@" >"$logs/run-$i.log" 2>&1 || status=$?
    took+=($(($(seconds) - began)))
    if [ "$status" -eq 0 ]; then
      echo "ok   $what run $i/$times: ${took[-1]} s"
    else
      failed=$((failed + 1))
      failures=$(sed -n '/tests FAILED:/,$ s/^[[:space:]]*[0-9]* - \([^ ]*\).*/\1/p' "$logs/run-$i.log" | tr '\n' ' ')
      echo "FAIL $what run $i/$times: ${took[-1]} s, status $status, failed: ${failures:-(see the log)} ($logs/run-$i.log)"
    fi
  done
  local sorted
  sorted=$(printf '%s\n' "${took[@]}" | sort -n)
  echo "== $what: $failed of $times runs failed; $(sed -n '1p' <<<"$sorted") to $(sed -n '$p' <<<"$sorted") s a run"
  [ "$failed" -eq 0 ]
}

linux_suite() {
  QT_QPA_PLATFORM=offscreen ctest --preset default --output-on-failure
}
windows_suite() {
  bash tests/windows/with-wine.sh bash tests/windows/suite.sh build-windows
}

# Inside the chroot, the script runs itself for one part.
case "${1:-}" in
--linux)
  bash scripts/setup-debian.sh
  bash scripts/build.sh >/dev/null
  under_load repeat "Debian $(cut -d. -f1 /etc/debian_version) suite" "$2" build/repeat-under-load linux_suite
  exit
  ;;
--windows)
  [ -d build-windows/tests ] || {
    echo "FAIL no Windows build in $PWD/build-windows: run scripts/windows/build.sh first"
    exit 1
  }
  under_load repeat "Windows suite under Wine" "$2" build-windows/repeat-under-load windows_suite
  exit
  ;;
esac

n=${1:-10}
n13=${2:-$n}
m=${3:-5}
status=0
if [ "$n" -gt 0 ]; then
  bash "$0" --linux "$n" || status=1
fi
if [ "$n13" -gt 0 ]; then
  bash scripts/test-debian13.sh env VELITAR_LOAD_WORKERS="${VELITAR_LOAD_WORKERS:-}" \
    bash scripts/repeat-under-load.sh --linux "$n13" || status=1
fi
if [ "$m" -gt 0 ]; then
  VELITAR_TRIXIE_CHECKOUT=${VELITAR_WINDOWS_CHECKOUT:-/root/velitar-windows} \
    bash scripts/test-debian13.sh env VELITAR_LOAD_WORKERS="${VELITAR_LOAD_WORKERS:-}" \
    bash scripts/repeat-under-load.sh --windows "$m" || status=1
fi
exit "$status"

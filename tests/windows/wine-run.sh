#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CTest's emulator for the Windows build: runs a Windows program under Wine
# (in the session of with-wine.sh) and ends with its exit status.
#  - Wine gives a Windows program none of the host's QT_* variables (they
#    belong to the host's Qt), but a WINEQT_* one as QT_*: the Qt settings of
#    a test (a scale factor, a platform) are handed over that way.
#  - What a Qt Test suite (test_*.exe) writes to its standard output does not
#    come through Wine; it writes its log to a file instead, shown here.
#  - With VELITAR_TEST_SECONDS (the test's bound, from the build), a program
#    that has not ended by then is shown where it is, a backtrace of every
#    thread of every process but Wine's own (its debugger's), and stopped.
set -uo pipefail
run() {
  [ -n "${VELITAR_TEST_SECONDS:-}" ] || { wine "$@"; return; }
  local pid deadline=$((SECONDS + VELITAR_TEST_SECONDS))
  wine "$@" &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    if ((SECONDS >= deadline)); then
      echo "FAIL $(basename "$1") has not ended within $VELITAR_TEST_SECONDS s; where it is:"
      timeout 120 winedbg --command "bt all" 2>&1 | tr -d '\r' |
        awk '/^Backtracing for thread/ { show = index($0, "(C:\\windows\\") == 0 } show'
      kill "$pid"
      wait "$pid"
      return 124
    fi
    sleep 0.2
  done
  wait "$pid"
}
while IFS= read -r var; do
  export "WINE$var=${!var}"
done < <(compgen -e | grep '^QT_')
case "$(basename "$1")" in
test_*.exe)
  log=$(mktemp)
  run "$@" -o "$log,txt"
  status=$?
  cat "$log"
  rm -f "$log"
  exit "$status"
  ;;
esac
run "$@"

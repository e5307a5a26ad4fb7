#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Started where no display can be reached, the program says so in one line on
# stderr and ends with status 1: no abort, no core dump, no report from Qt.
# Usage: no-display.sh PATH-TO-velitar
set -uo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
ulimit -c 0
# A runtime directory, as a login session has: without one, the Wayland
# client library (once qt6-wayland is installed) reports that first, which is
# not what is tried here.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
failures=0

# A display number no X server listens on.
free_display=99
while [ -e "/tmp/.X11-unix/X$free_display" ] || [ -e "/tmp/.X$free_display-lock" ]; do
  free_display=$((free_display + 1))
done

check() {
  local what=$1
  shift
  local status=0
  timeout 30 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" "$program" >out.txt 2>err.txt || status=$?
  local lines
  lines=$(wc -l <err.txt)
  local problem=""
  [ "$status" -eq 1 ] || problem+=" exit status $status, expected 1;"
  [ "$lines" -eq 1 ] || problem+=" $lines lines on stderr, expected 1;"
  [ ! -s out.txt ] || problem+=" output on stdout;"
  grep -q '^velitar: .*графическ.* диспле' err.txt || problem+=" the line does not say that no display could be opened;"
  ! grep -qiE 'abort|core|failed to start|platform plugin' err.txt || problem+=" Qt's own report or an abort shows;"
  if [ -n "$problem" ]; then
    echo "FAIL $what:$problem"
    sed 's/^/  stderr: /' err.txt
    failures=$((failures + 1))
  else
    echo "ok   $what: $(cat err.txt)"
  fi
}

check "no DISPLAY, no WAYLAND_DISPLAY"
check "DISPLAY=:$free_display with no server" DISPLAY=":$free_display"
# A Wayland session has its runtime directory (without one, libwayland itself
# complains on stderr before Qt gives up).
check "WAYLAND_DISPLAY with no compositor" XDG_RUNTIME_DIR="$work" WAYLAND_DISPLAY="velitar-none-$$"

exit $((failures > 0))

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Smoke test of the installed program on a real X server: installs the build
# with cmake --install into a temporary prefix, starts the installed program
# under xvfb-run, waits for its start window, takes a screenshot of the
# screen (which must show the window, not one flat colour), clicks Exit and
# expects the program to end with status 0.
# VELITAR_BUILD_DIR names the build directory (default: build); with
# VELITAR_PROGRAM set, that program (already installed) is tried instead.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${VELITAR_BUILD_DIR:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ -z "${VELITAR_PROGRAM:-}" ]; then
  cmake --install "$build" --prefix "$work/prefix" >/dev/null
  VELITAR_PROGRAM="$work/prefix/bin/velitar"
fi
export VELITAR_PROGRAM VELITAR_WORK="$work" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

in_x_session() {
  set -euo pipefail
  env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$VELITAR_PROGRAM" &
  local pid=$!
  local window
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^"Velitar"$') || {
    echo "FAIL the start window did not appear"
    kill "$pid" 2>/dev/null
    return 1
  }
  window=${window%%$'\n'*}
  echo "ok   the start window appeared (X window $window)"

  # Once painted, the window's area shows more than one colour.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local colours=0
  for _ in $(seq 50); do
    import -window root "$VELITAR_WORK/screen.png"
    colours=$(convert "$VELITAR_WORK/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -format '%k' info:)
    [ "$colours" -gt 16 ] && break
    sleep 0.1
  done
  if [ "$colours" -le 16 ]; then
    echo "FAIL the screenshot shows $colours colours where the window is"
    kill "$pid" 2>/dev/null
    return 1
  fi
  echo "ok   screenshot: $colours colours in the window's ${WIDTH}x${HEIGHT} area"

  # Exit (Command1) is 735 x 375 twips at (3600, 3960): its centre at (264, 276) px.
  xdotool mousemove --window "$window" 264 276 click 1
  local status=0
  timeout 15 tail --pid="$pid" -f /dev/null || {
    echo "FAIL the program did not end after Exit"
    kill "$pid" 2>/dev/null
    return 1
  }
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || {
    echo "FAIL Exit ended the program with status $status"
    return 1
  }
  echo "ok   Exit ended the program with status 0"
}

xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c "$(declare -f in_x_session); in_x_session"

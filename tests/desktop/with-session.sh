#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command in a desktop session of its own: an X server (Xvfb), a
# private D-Bus session bus and the accessibility (AT-SPI) bus, with Qt's
# accessibility bridge switched on. Whatever is started here is stopped when
# the command has ended; the command's exit status is returned.
# Usage: with-session.sh COMMAND [ARG...]
set -euo pipefail

work=$(mktemp -d)
pids=()
cleanup() {
  local pid left i
  for pid in "${pids[@]}"; do
    # The accessibility bus launcher runs the bus daemon as its child.
    pkill -TERM -P "$pid" 2>/dev/null || true
    kill -TERM "$pid" 2>/dev/null || true
  done
  # The session bus daemon forked away: waited for here as the others are.
  for i in $(seq 100); do
    left=()
    for pid in "${pids[@]}"; do
      if kill -0 "$pid" 2>/dev/null && [[ $(ps -o stat= -p "$pid") != Z* ]]; then left+=("$pid"); fi
    done
    ((${#left[@]})) || break
    sleep 0.1
  done
  if ((${#left[@]})); then
    echo "with-session: still running 10 s after SIGTERM, killed: $(ps -o args= -p "$(IFS=,; echo "${left[*]}")")" >&2
    kill -KILL "${left[@]}" 2>/dev/null
  fi
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# Qt only registers on the bus it finds through the session bus.
unset AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY

# An X server on a free display; it writes the display number when ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
[ -z "${VELITAR_WATCH_LOGS:-}" ] || ln -sf "$work/xvfb.log" "$VELITAR_WATCH_LOGS/xvfb.log"
for _ in $(seq 200); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || { echo "with-session: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"

# A private session bus.
dbus-daemon --session --fork --nosyslog --print-address=3 --print-pid=4 3>"$work/bus" 4>"$work/bus.pid"
pids+=("$(cat "$work/bus.pid")")
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS

# The accessibility bus, announced on the session bus as org.a11y.Bus.
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/at-spi.log" 2>&1 &
pids+=($!)
[ -z "${VELITAR_WATCH_LOGS:-}" ] || ln -sf "$work/at-spi.log" "$VELITAR_WATCH_LOGS/at-spi.log"
owned() {
  [[ $(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null) == *'boolean true'* ]]
}
for _ in $(seq 200); do
  owned && break
  sleep 0.05
done
owned || { echo "with-session: the accessibility bus did not start" >&2; cat "$work/at-spi.log" >&2; exit 1; }

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export QT_QPA_PLATFORM=xcb

status=0
"$@" || status=$?
exit "$status"

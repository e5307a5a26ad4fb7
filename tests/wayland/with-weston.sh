#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command in a Wayland session of its own: weston's headless
# compositor on a private runtime directory, with Qt's Wayland platform and
# no window decorations, so a window's surface is exactly its client area.
# weston is stopped when the command has ended; the command's exit status is
# returned.
# Usage: with-weston.sh COMMAND [ARG...]
set -euo pipefail

work=$(mktemp -d)
weston_pid=
cleanup() {
  local i
  if [ -n "$weston_pid" ]; then
    kill -TERM "$weston_pid" 2>/dev/null || true
    for i in $(seq 100); do
      kill -0 "$weston_pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$weston_pid" 2>/dev/null; then
      echo "with-weston: weston did not end within 10 s of SIGTERM; killed. Its log ends:" >&2
      tail -n 20 "$work/weston.log" >&2
      kill -KILL "$weston_pid" 2>/dev/null
    fi
    wait "$weston_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DISPLAY

# Weston 10 (Debian 12) names its backends by module file, weston 14
# (Debian 13) by name.
if [[ $(weston --help 2>&1) == *headless-backend.so* ]]; then
  backend=headless-backend.so
else
  backend=headless
fi
socket=velitar-wayland
# weston 14 now and then crashes as its clients leave; no core file of it.
ulimit -c 0
weston --no-config --backend="$backend" --socket="$socket" --idle-time=0 \
  --width=1280 --height=1024 >"$work/weston.log" 2>&1 &
weston_pid=$!
[ -z "${VELITAR_WATCH_LOGS:-}" ] || ln -sf "$work/weston.log" "$VELITAR_WATCH_LOGS/weston.log"
for _ in $(seq 200); do
  [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
  kill -0 "$weston_pid" 2>/dev/null || break
  sleep 0.05
done
[ -S "$XDG_RUNTIME_DIR/$socket" ] || { echo "with-weston: weston did not start" >&2; cat "$work/weston.log" >&2; exit 1; }

export WAYLAND_DISPLAY=$socket
export QT_QPA_PLATFORM=wayland
export QT_WAYLAND_DISABLE_WINDOWDECORATION=1

status=0
"$@" || status=$?
# weston 14 now and then crashes as its last client leaves; the command's own
# status tells whether anything it needed was missing. The crash is shown.
if ! kill -0 "$weston_pid" 2>/dev/null; then
  wait "$weston_pid" && ended=0 || ended=$?
  weston_pid=
  echo "with-weston: weston had ended (status $ended) when the command ended; its log ends:" >&2
  tail -n 30 "$work/weston.log" >&2
fi
exit "$status"

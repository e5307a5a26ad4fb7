#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command in a Windows of its own: Wine with a fresh, private prefix,
# on a private X server (Xvfb, large enough for the windows at twice their
# size) with a window manager (openbox), so that the
# program's windows have title bars and are activated as on a desktop. All of
# it is stopped and removed again, however the command ends; anything it
# started that still runs then (a Wine process, wineserver, the X server) is
# listed and fails the run.
# Usage: with-wine.sh COMMAND [ARGUMENTS...]
# The command finds WINEPREFIX and DISPLAY set, and VELITAR_WINE_HOME, the
# private home.
set -uo pipefail
watch=$(dirname "$(realpath "$0")")/../watch
work=$(mktemp -d /tmp/velitar-wine.XXXXXX)
xvfb_pid=
wm_pid=
# The session's mark, inherited by all it starts (tests/watch/marked.sh).
export VELITAR_WINE_RUN=$$.$(date +%s%N)
cleanup() {
  local status=$?
  trap - EXIT
  WINEPREFIX=$work/prefix timeout 30 wineserver -k >/dev/null 2>&1
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  bash "$watch/leftovers.sh" "VELITAR_WINE_RUN=$VELITAR_WINE_RUN" 10 "the Wine session" || [ "$status" -ne 0 ] || status=1
  wait 2>/dev/null
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

export HOME=$work/home VELITAR_WINE_HOME=$work/home
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
# Window titles are Cyrillic: the X tools that look windows up need UTF-8.
export LANG=C.UTF-8 LC_ALL=C.UTF-8

exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1920x1440x24 -nolisten tcp -auth /dev/null >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
display=$(head -n 1 "$work/display")
[ -n "$display" ] || { echo "with-wine.sh: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=:$display
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!

# A fresh prefix: no Mono, no Gecko (nothing here needs them, and their
# installers would ask), no menu entries on the Linux desktop for Windows
# shortcuts (winemenubuilder), no debug output of Wine's own.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEARCH=win64
wineboot -i >"$work/wineboot.log" 2>&1 || { echo "with-wine.sh: wineboot failed" >&2; cat "$work/wineboot.log" >&2; exit 1; }
wineserver -w
"$@"

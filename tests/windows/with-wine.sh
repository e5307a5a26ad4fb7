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
  if [ -s "$work/crashes.log" ]; then
    crashed=$(tr -d '\r' <"$work/crashes.log" | sed -n 's/^[0-9a-f]\{8\} (D) //p')
    if [ -n "$crashed" ] && ! grep -qiv '^c:\\windows\\' <<<"$crashed"; then
      echo "     Wine's own program crashed: ${crashed//$'\n'/, }; the debugger's report:"
    else
      echo "FAIL a program crashed under Wine: ${crashed:-(not named)}; the debugger's report:"
      [ "$status" -ne 0 ] || status=1
    fi
    tr -d '\r' <"$work/crashes.log" | sed 's/^/     /'
  fi
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
# A program that crashes starts Wine's debugger, which shows a dialog and
# waits for a click nobody gives here, and writes its report to the output of
# whatever started the crashed process, if anywhere. Here the debugger writes
# it, without a dialog, to crashes.log: the exception, the backtrace and the
# threads of every process. The session prints that report, and fails unless
# every process that crashed was one of Wine's own programs (in C:\windows: a
# service, the command interpreter): such a crash is Wine's, and what it
# broke of the program's work, if anything, fails the checks of that work.
debugger="cmd.exe /c winedbg --auto %ld %ld >>\"$(winepath -w "$work/crashes.log")\" 2>&1"
{
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d "$debugger" /f
} >/dev/null 2>&1 || { echo "with-wine.sh: the crash report could not be set up" >&2; exit 1; }
wineserver -w
"$@"

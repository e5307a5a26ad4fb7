#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Where a test is, printed for its log when it has run out of time: the
# processes carrying its mark (see marked.sh) and what each waits in, a
# backtrace of every thread of each program among them (gdb), the names on
# the D-Bus session and accessibility buses they use with the process that
# owns each, and the ends of the logs its session helpers named. It changes
# nothing; each look at a process or a bus is bounded.
# Usage: state.sh NAME=VALUE [LOGS-DIR]
set -uo pipefail
mark=$1
logs=${2:-}
unset "${mark%%=*}"
pids=$(bash "$(dirname "$0")/marked.sh" "$mark" | sort -rn)

echo "== processes"
[ -z "$pids" ] || ps -o pid,ppid,stat,etimes,wchan:24,args -p "${pids//$'\n'/,}" | sed 's/^/   /'

echo "== threads of each program, newest first"
for pid in $pids; do
  comm=$(cat "/proc/$pid/comm" 2>/dev/null) || continue
  case $comm in bash | sh | sleep | timeout | tail | env | unshare | cat | dbus-send | gdb) continue ;; esac
  echo "-- $pid: $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)"
  trace=$(timeout 30 gdb -batch -nx -iex 'set auto-load python-scripts off' -p "$pid" \
    -ex 'set pagination off' -ex 'thread apply all bt' 2>&1) || echo "   (gdb: status $?)"
  sed -n '/^Thread /,$ { /^$/d; /^\[Inferior .* detached\]/d; s/^/   /; p }' <<<"$trace"
done

# bus_names ADDRESS: the names on a bus and the process owning each.
bus_names() {
  local reply name owner
  reply=$(timeout 10 dbus-send --bus="$1" --print-reply --reply-timeout=5000 --dest=org.freedesktop.DBus \
    /org/freedesktop/DBus org.freedesktop.DBus.ListNames 2>&1) || {
    echo "   (no answer: $reply)"
    return
  }
  for name in $(sed -n 's/^ *string "\(.*\)"$/\1/p' <<<"$reply"); do
    owner=$(timeout 10 dbus-send --bus="$1" --print-reply --reply-timeout=2000 --dest=org.freedesktop.DBus \
      /org/freedesktop/DBus org.freedesktop.DBus.GetConnectionUnixProcessID "string:$name" 2>/dev/null |
      sed -n 's/^ *uint32 //p')
    echo "   $name  pid ${owner:-?} $(cat "/proc/$owner/comm" 2>/dev/null)"
  done
}
echo "== D-Bus"
declare -A seen=()
for pid in $pids; do
  address=$(grep -z '^DBUS_SESSION_BUS_ADDRESS=' "/proc/$pid/environ" 2>/dev/null | tr -d '\0')
  address=${address#*=}
  [ -n "$address" ] && [ -z "${seen[$address]:-}" ] || continue
  seen[$address]=1
  echo "-- session bus $address"
  bus_names "$address"
  a11y=$(timeout 10 dbus-send --bus="$address" --print-reply --reply-timeout=5000 --dest=org.a11y.Bus \
    /org/a11y/bus org.a11y.Bus.GetAddress 2>/dev/null | sed -n 's/^ *string "\(.*\)"$/\1/p')
  if [ -n "$a11y" ]; then
    echo "-- its accessibility bus $a11y"
    bus_names "$a11y"
  fi
done
[ ${#seen[@]} -gt 0 ] || echo "   (no process of the test has a session bus)"

if [ -n "$logs" ]; then
  for log in "$logs"/*; do
    [ -e "$log" ] || continue
    echo "== the end of ${log##*/}"
    tail -n 30 "$log" | sed 's/^/   /'
  done
fi

# SPDX-License-Identifier: GPL-3.0-or-later
# What the Windows checks (program-check.sh, installer-check.sh) do on the
# desktop of with-wine.sh, sourced by them: they count failures in
# "failures" and follow the program started last in "pid".
failures=0
pid=

ok() { echo "ok   $*"; }
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# The X window of a top-level window whose title is exactly $1 (the window
# manager's frame excluded), within 60 s.
window_named() {
  local id
  for _ in $(seq 600); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)
    id=${id%%$'\n'*}
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits for the program to end and sets status to its exit status (or
# "running", after 30 s).
ended() {
  for _ in $(seq 300); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      status=$?
      return
    fi
    sleep 0.1
  done
  status=running
  kill "$pid" 2>/dev/null
}

click() { # click WINDOW X Y: a left click at (X, Y) of the window's client area
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

# start_and_exit PROGRAM.exe WHAT: the start window comes up, titled and of
# its designed client size, and Exit ends the program with status 0.
start_and_exit() {
  local start size
  wine "$1" &
  pid=$!
  if start=$(window_named '"Velitar"'); then
    size=$(xwininfo -id "$start" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
    [ "$size" = 305x321 ] && ok "$2: start window «\"Velitar\"», client area $size" ||
      fail "$2: start window client area $size, expected 305x321"
    click "$start" 264 276 # Exit (Command1)
    ended
    [ "$status" = 0 ] && ok "$2: Exit ended the program with status 0" || fail "$2: after Exit, status $status"
  else
    fail "$2: no start window titled \"Velitar\""
    kill "$pid" 2>/dev/null
  fi
}

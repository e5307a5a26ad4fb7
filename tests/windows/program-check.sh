#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# velitar.exe under Wine, started as a user starts it (in the session of
# with-wine.sh, with a window manager):
#   - the start window comes up with its title and its designed client size,
#     and Exit ends the program with status 0;
#   - a test window, opened by the right warm-up answer and button «1», closed
#     with the title bar's close (the window manager's Alt+F4), ends the
#     program with status 0, as Exit does;
#   - when the window system cannot start (an unknown platform plugin), the
#     program says so in a message box «Велитарь» and ends with status 1.
# Usage: program-check.sh PATH-TO-velitar.exe
set -uo pipefail
program=$1
source "$(dirname "$0")/desktop.sh"

start_and_exit "$program" "velitar.exe"

# The right answer, variant 1, and the test window's close button.
wine "$program" &
pid=$!
if start=$(window_named '"Velitar"'); then
  click "$start" 60 154    # «Литургия», the third option of List1
  sleep 0.5
  click "$start" 156 140   # «1» (Command2)
  if test_window=$(window_named 'Тест  "Велитарь"'); then
    size=$(xwininfo -id "$test_window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
    ok "variant 1 opened: client area $size"
    xdotool windowactivate --sync "$test_window" key --clearmodifiers alt+F4
    ended
    [ "$status" = 0 ] && ok "closing the test window ended the program with status 0" ||
      fail "after closing the test window: status $status"
  else
    fail "no test window after the right answer and «1»"
    kill "$pid" 2>/dev/null
  fi
else
  fail "no start window titled \"Velitar\""
  kill "$pid" 2>/dev/null
fi

# No window system: one message box, the program's, instead of a window (no
# box of Qt's own, in English and titled with the file's name, before it).
QT_QPA_PLATFORM=velitar-none "$(dirname "$0")/wine-run.sh" "$program" &
pid=$!
if box=$(window_named "Велитарь"); then
  ok "a failed start is reported in a message box «Велитарь»"
  xdotool windowactivate --sync "$box" key Return
  ended
  [ "$status" = 1 ] && ok "and the program ended with status 1" || fail "after the message box: status $status"
else
  fail "no message box «Велитарь» when the platform cannot start$(xdotool search --onlyvisible --name '^velitar$' >/dev/null 2>&1 && echo ", but Qt's own «velitar»")"
  kill "$pid" 2>/dev/null
fi

exit $((failures > 0))

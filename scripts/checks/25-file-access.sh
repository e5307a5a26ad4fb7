#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program persists nothing and reads no files of its own. strace follows
# every call that names a file, through whole scripted runs (each variant, a
# wrong warm-up answer) and through the program itself on an X server from
# start to Exit; file-access.py then fails on any write, on any read of a
# file that is not the system's (libraries, fonts, Qt plugins, system
# configuration), and on any look for a file of the program's own in its
# home, working directory or beside its executable. Afterwards the run's
# home and working directory must still be empty.
# VELITAR_BUILD_DIR names the build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=$(realpath "${VELITAR_BUILD_DIR:-build}")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/cwd" "$scratch/tmp"
mkdir -m 700 "$scratch/runtime"
export HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime" TMPDIR="$scratch/tmp"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_STATE_HOME
cd "$scratch/cwd"

status=0
check() { # check <name> <trace> <program> [xauthority]
  if python3 "$root/scripts/checks/file-access.py" "$2" --program "$3" --home "$HOME" --cwd "$scratch/cwd" \
      ${4:+--xauthority "$4"}; then
    echo "ok   $1: no writes, no files of its own, only system files read"
  else
    echo "FAIL $1 (above)"
    status=1
  fi
}
trace=(strace -f -qq -y -s 4096 -e trace=%file -e signal=none)

for run in 1 2 3 4 5 warm-up; do
  QT_QPA_PLATFORM=offscreen "${trace[@]}" -o "$scratch/trace-$run.txt" \
    "$build/tests/velitar_scripted_run" "$run" >/dev/null
  check "scripted run $run" "$scratch/trace-$run.txt" "$build/tests/velitar_scripted_run"
done

# The program itself, on Xvfb with a session bus, from start to Exit.
in_x_session() {
  set -euo pipefail
  env -u QT_QPA_PLATFORM strace -f -qq -y -s 4096 -e trace=%file -e signal=none -o "$scratch/trace-x.txt" \
    "$build/app/velitar" &
  local pid=$! window
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^"Velitar"$')
  window=${window%%$'\n'*}
  # Exit (Command1) is 735 x 375 twips at (3600, 3960): its centre at (264, 276) px.
  xdotool mousemove --window "$window" 264 276 click 1
  wait "$pid"
  echo "$XAUTHORITY" >"$scratch/xauthority"
}
export scratch build
if xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" dbus-run-session -- \
    bash -c "$(declare -f in_x_session); in_x_session" 2>"$scratch/x-errors.txt"; then
  check "the program on X, start to Exit" "$scratch/trace-x.txt" "$build/app/velitar" "$(cat "$scratch/xauthority")"
else
  echo "FAIL the program did not run to Exit on Xvfb"
  cat "$scratch/x-errors.txt"
  status=1
fi

left=$(find "$scratch/home" "$scratch/cwd" -mindepth 1)
if [ -n "$left" ]; then
  echo "FAIL files left behind:"
  echo "$left"
  status=1
else
  echo "ok   nothing left in the run's home or working directory"
fi
exit $status

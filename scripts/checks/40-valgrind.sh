#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Whole scripted runs of the program (each variant from the warm-up to Exit,
# and a wrong warm-up answer) under valgrind's memcheck: each must end with
# status 0, no memory error and no block definitely lost.
# VELITAR_BUILD_DIR names the build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${VELITAR_BUILD_DIR:-build}
runner="$build/tests/velitar_scripted_run"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

status=0
for run in 1 2 3 4 5 warm-up; do
  log="$work/valgrind-$run.txt"
  if ! valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite \
      --errors-for-leak-kinds=definite --error-exitcode=99 --num-callers=40 \
      --log-file="$log" "$runner" "$run" >"$work/out-$run.txt"; then
    echo "FAIL run $run under valgrind:"
    cat "$work/out-$run.txt" "$log"
    status=1
    continue
  fi
  errors=$(grep -oP 'ERROR SUMMARY: \K[0-9]+' "$log")
  lost=$(grep -oP 'definitely lost: \K[0-9,]+(?= bytes)' "$log" || echo 0)
  if [ "$errors" != 0 ] || [ "${lost//,/}" != 0 ]; then
    echo "FAIL run $run: $errors errors, $lost bytes definitely lost"
    cat "$log"
    status=1
    continue
  fi
  echo "ok   run $run ($(head -n 1 "$work/out-$run.txt")): 0 errors, 0 bytes definitely lost"
done
exit $status

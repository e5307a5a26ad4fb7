#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the real windows in their states (the start window asking, passed
# and failed; a test window asking, answered, passed and failed; the longest
# verdict) to docs/screenshots/*.png, on a virtual X display.
# VELITAR_BUILD_DIR names another build directory than build/, and
# VELITAR_SCREENSHOT_DIR another folder for the pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
build_dir=${VELITAR_BUILD_DIR:-build}
if [ "$build_dir" = build ]; then
  cmake --preset default >/dev/null
else
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build_dir" -j2 --target test_look_screenshots
out=$(realpath -m "${VELITAR_SCREENSHOT_DIR:-docs/screenshots}")
mkdir -p "$out"
VELITAR_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1024x768x24" "$build_dir/tests/test_look_screenshots"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The pictures in docs/screenshots/ show the program as it is: they are
# rendered again from the real windows (scripts/screenshots.sh) and compared
# with the committed ones pixel by pixel (scripts/compare-screenshots.py,
# which allows only Qt 6.8's shading of the start window's title).
set -euo pipefail
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
VELITAR_SCREENSHOT_DIR="$work/shots" bash scripts/screenshots.sh >"$work/render.log" 2>&1 || {
  cat "$work/render.log"
  echo "FAIL the screenshots could not be rendered"
  exit 1
}
python3 scripts/compare-screenshots.py docs/screenshots "$work/shots"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the Windows build is tested with, in the session of with-wine.sh: the
# test suites (CTest's), the screenshots rendered under Wine against
# docs/screenshots/, and the installer (installer-check.sh).
# Usage: suite.sh BUILD-DIR (with its dist/ made by scripts/windows/package.sh)
set -euo pipefail
build=$1
version=$(sed -n 's/^project(Velitar VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
QT_QPA_PLATFORM='' ctest --test-dir "$build" --output-on-failure
rm -rf "$build/screenshots"
VELITAR_SCREENSHOT_DIR=$PWD/$build/screenshots tests/windows/wine-run.sh "$build/tests/test_look_screenshots.exe" >/dev/null
python3 scripts/compare-screenshots.py docs/screenshots "$build/screenshots"
bash tests/windows/installer-check.sh "$build/dist" "$build" "$version"

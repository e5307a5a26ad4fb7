#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets everything up, builds and runs the whole test suite headless, then the
# further checks in scripts/checks/ (each a script of its own, run in order).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
bash scripts/build.sh
QT_QPA_PLATFORM=offscreen ctest --preset default
for check in scripts/checks/*.sh; do
  [ -e "$check" ] || continue
  echo "== ${check#scripts/checks/}"
  bash "$check"
done

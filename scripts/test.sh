#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets everything up, builds and runs the whole test suite headless, then the
# further checks in scripts/checks/ (each a script of its own, run in order).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
bash scripts/build.sh
# VELITAR_CTEST_EXCLUDE: a regular expression of CTest tests not to run here.
QT_QPA_PLATFORM=offscreen ctest --preset default ${VELITAR_CTEST_EXCLUDE:+-E "$VELITAR_CTEST_EXCLUDE"}
for check in scripts/checks/*.sh; do
  [ -e "$check" ] || continue
  echo "== ${check#scripts/checks/}"
  bash "$check"
done

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets everything up, builds and runs the whole test suite headless, then the
# further checks in scripts/checks/ (each a script of its own, run in order).
# Whatever the tests and checks start (X servers, buses, weston, Orca,
# speech-dispatcher...) must have ended with them: what still runs at the
# end, however the run ends, is listed and fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
bash scripts/build.sh
# The run's mark, inherited by all it starts (tests/watch/marked.sh).
export VELITAR_TEST_RUN=$$.$(date +%s%N)
leftovers() {
  local status=$?
  trap - EXIT
  bash tests/watch/leftovers.sh "VELITAR_TEST_RUN=$VELITAR_TEST_RUN" 10 "the test run" || [ "$status" -ne 0 ] || status=1
  exit "$status"
}
trap leftovers EXIT
QT_QPA_PLATFORM=offscreen ctest --preset default
for check in scripts/checks/*.sh; do
  [ -e "$check" ] || continue
  echo "== ${check#scripts/checks/}"
  bash "$check"
done

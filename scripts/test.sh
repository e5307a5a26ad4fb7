#!/usr/bin/env bash
# Sets everything up, builds and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
bash scripts/build.sh
QT_QPA_PLATFORM=offscreen ctest --preset default

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The web program's start against a bare Qt window built with the same Qt for
# WebAssembly, both in headless Chromium (bench/web_start.py). Builds the web
# program with its benchmark programs first (scripts/web/build.sh), in the
# Debian 13 chroot where needed. Not part of CI: timings need a quiet machine.
set -euo pipefail
cd "$(dirname "$0")/../.."
if ! grep -q '^13\|^trixie' /etc/debian_version 2>/dev/null; then
  export VELITAR_TRIXIE_CHECKOUT=${VELITAR_WEB_CHECKOUT:-/root/velitar-web}
  exec bash scripts/test-debian13.sh bash scripts/web/bench.sh "$@"
fi
VELITAR_WEB_BENCH=ON bash scripts/web/build.sh --no-test
python3 scripts/web/make-site.py . build-web build-web/bench-site "$(cat build-web/qt-prefix)" \
  velitar_first_paint bare_window >/dev/null
python3 bench/web_start.py build-web/bench-site "$@"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a blind user hears in the browser: this system's Orca reads the web
# program's site in this system's Chromium (tests/desktop/orca-check.py,
# which takes a site as it takes the desktop program), in a desktop session
# and a PID namespace of its own. Run as root by scripts/web/build.sh, on
# Debian 13 (Orca 48) and, from Debian 12, on Debian 12 as well (Orca 43).
# Usage: orca.sh SITE TRANSCRIPT
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/windows/install-packages.sh scripts/web/packages-test.txt scripts/packages/screen-reader.txt
began=$(date +%s)
unshare --pid --fork --mount-proc bash tests/desktop/with-session.sh \
  /usr/bin/python3 tests/desktop/orca-check.py "$1" "$2"
echo "ok   Orca $(dpkg-query -W -f='${Version}' orca) heard the web program in Chromium" \
  "$(dpkg-query -W -f='${Version}' chromium) ($(($(date +%s) - began)) s; what it said: $2)"

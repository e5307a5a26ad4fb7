#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# No shell script of the project pipes into a reader that may stop before
# the writer is done: grep -q (or -m, --quiet, --silent, --max-count) ends at
# its first match and head after its lines, and the writer then dies of
# SIGPIPE. Under set -o pipefail that fails the pipeline by chance, the more
# often the busier the machine; every script is held to it, since one without
# pipefail may be sourced by one with it. Capture the output first and test
# the variable (grep -q <<<"$out", [[ $out == *...* ]]), or let grep read all
# (>/dev/null).
# Usage: 05-pipes.sh [DIR] (default: this checkout)
set -euo pipefail
here=$(realpath "$(dirname "$0")")
cd "${1:-$here/../..}"
python3 "$here/pipes.py"

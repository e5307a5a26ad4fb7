#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program's start under Wine: from the process created to the
# start window shown, against the bare Qt window built with the same static
# Qt (bench/bare_window.cpp), pair by pair in alternating order
# (bench/start_windows.cpp), in the Wine session of tests/windows/with-wine.sh.
# Needs the build of scripts/windows/build.sh. Usage: bench.sh [PAIRS]
# On another system than Debian 13 it runs itself in the Debian 13 chroot, as
# build.sh does.
set -euo pipefail
cd "$(dirname "$0")/../.."
if ! grep -q '^13\|^trixie' /etc/debian_version 2>/dev/null; then
  export VELITAR_TRIXIE_CHECKOUT=/root/velitar-windows
  exec bash scripts/test-debian13.sh bash scripts/windows/bench.sh "$@"
fi
build=$PWD/build-windows
bash tests/windows/with-wine.sh bash -c '
  echo "machine: $(nproc) cores, $(grep -m1 "model name" /proc/cpuinfo | cut -d: -f2 | xargs), load average $(cut -d" " -f1-3 /proc/loadavg); $(wine --version)"
  wine "$1/bench/velitar_start_bench.exe" "$(winepath -w "$1/app/velitar.exe")" \
    "$(winepath -w "$1/bench/bare_window.exe")" "$2"' bench "$build" "${1:-21}"

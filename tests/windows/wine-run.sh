#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CTest's emulator for the Windows build: runs a Windows program under Wine
# (in the session of with-wine.sh) and ends with its exit status.
#  - Wine gives a Windows program none of the host's QT_* variables (they
#    belong to the host's Qt), but a WINEQT_* one as QT_*: the Qt settings of
#    a test (a scale factor, a platform) are handed over that way.
#  - What a Qt Test suite (test_*.exe) writes to its standard output does not
#    come through Wine; it writes its log to a file instead, shown here.
set -uo pipefail
while IFS= read -r var; do
  export "WINE$var=${!var}"
done < <(compgen -e | grep '^QT_')
case "$(basename "$1")" in
test_*.exe)
  log=$(mktemp)
  wine "$@" -o "$log,txt"
  status=$?
  cat "$log"
  rm -f "$log"
  exit "$status"
  ;;
esac
exec wine "$@"

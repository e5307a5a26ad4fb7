#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copies FOLDER/PART out of the Debian 13 chroot's copy of the checkout
# (VELITAR_TRIXIE_CHECKOUT, as test-debian13.sh made it) into FOLDER/PART
# here, in place of what was there. The chroot is root's: another user reads
# it through sudo, as test-debian13.sh ran there, and owns the copy.
# Usage: copy-from-trixie.sh FOLDER PART
set -euo pipefail
folder=$1 part=$2
root=$(realpath -m "${VELITAR_TRIXIE_ROOT:-/var/tmp/velitar-trixie}")
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
rm -rf "${folder:?}/$part"
mkdir -p "$folder"
"${as_root[@]}" tar -C "$root$VELITAR_TRIXIE_CHECKOUT/$folder" -cf - "$part" | tar -C "$folder" -xf - --no-same-owner

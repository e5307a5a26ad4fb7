#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages named in the given lists (one or more words a
# line, # comments) that are not installed yet.
set -euo pipefail
mapfile -t wanted < <(sed 's/#.*//' "$@" | tr -s ' \t' '\n' | grep -v '^$' | sort -u)
missing=()
for p in "${wanted[@]}"; do
  [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = "install ok installed" ] || missing+=("$p")
done
((${#missing[@]})) || exit 0
export DEBIAN_FRONTEND=noninteractive
# One apt at a time (see setup-debian.sh).
flock /var/lock/velitar-apt.lock apt-get update -q >&2
flock /var/lock/velitar-apt.lock apt-get install -y -q --no-install-recommends "${missing[@]}" >&2

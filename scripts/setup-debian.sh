#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs, on Debian 12 or 13, what building and testing Velitar needs and is
# not there yet: the packages listed in scripts/packages/*.txt. Run as root,
# or as a user who may use sudo.
# Each word of a list names a package; "a | b" names alternatives where the
# releases differ, of which the first the release has is installed (none is,
# when one of them is installed already).
set -euo pipefail
cd "$(dirname "$0")"

mapfile -t wanted < <(cat packages/*.txt | sed 's/#.*//; s/[[:space:]]*|[[:space:]]*/|/g' | tr -s ' \t' '\n' |
  grep -v '^$' | sort -u)

installed() { [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]; }
available() { grep -q '^ *Candidate: [^(]' <<<"$(apt-cache policy "$1" 2>/dev/null)"; }

missing=()
for group in "${wanted[@]}"; do
  IFS='|' read -ra names <<<"$group"
  for p in "${names[@]}"; do
    installed "$p" && continue 2
  done
  missing+=("$group")
done

if ((${#missing[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  # One apt at a time, also when another of the project's scripts installs
  # into the same system (the Windows build beside the tests, in the chroot).
  apt_get=("${sudo_cmd[@]}" flock /var/lock/velitar-apt.lock apt-get)
  "${apt_get[@]}" update -q
  chosen=()
  for group in "${missing[@]}"; do
    IFS='|' read -ra names <<<"$group"
    pick=${names[0]} # when the release has none of them, apt-get says so
    for p in "${names[@]}"; do
      if available "$p"; then
        pick=$p
        break
      fi
    done
    chosen+=("$pick")
  done
  echo "Installing: ${chosen[*]}"
  "${apt_get[@]}" install -y -q --no-install-recommends "${chosen[@]}"
fi

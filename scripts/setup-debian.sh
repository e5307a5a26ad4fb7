#!/usr/bin/env bash
# Installs, on Debian 12, what building and testing Velitar needs and is not
# there yet. Run as root (or through sudo).
set -euo pipefail

packages=(
  build-essential cmake git pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  fonts-liberation fonts-dejavu-core
  xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

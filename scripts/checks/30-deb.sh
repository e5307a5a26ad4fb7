#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: cpack -G DEB in the build directory makes
# velitar_<version>_<arch>.deb; its dependencies must name the Qt libraries
# and the font packages the windows are laid out for. As root, the package is
# then installed with apt-get, the installed program is smoke-tested, and the
# package is removed again.
# VELITAR_BUILD_DIR names the build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=${VELITAR_BUILD_DIR:-build}

(cd "$build" && rm -f velitar_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/velitar_*.deb)
echo "ok   $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "     Depends: $depends"
# Debian 13 names the Qt libraries' packages with a t64 suffix (64-bit
# time_t): libqt6core6t64 is the package of libqt6core6 there.
depends=$(sed -E 's/\b(libqt6[a-z0-9]+)t64\b/\1/g' <<<"$depends")
mapfile -t fonts < <(sed 's/#.*//' "$root"/scripts/packages/fonts.txt 2>/dev/null | tr -s ' \t' '\n' | grep -v '^$' ||
  printf '%s\n' fonts-liberation fonts-dejavu-core)
for package in libqt6core6 libqt6gui6 libqt6widgets6 "${fonts[@]}"; do
  # A font package may stand as one of alternatives ("a | b").
  if ! grep -Eq "(^|, |\| )$package( |,|$)" <<<"$depends"; then
    echo "FAIL the package does not depend on $package"
    exit 1
  fi
done
echo "ok   it depends on the Qt libraries and on ${fonts[*]}"

contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/velitar ./usr/share/applications/org.velitar.Velitar.desktop \
  ./usr/share/metainfo/org.velitar.Velitar.metainfo.xml ./usr/share/icons/hicolor/scalable/apps/org.velitar.Velitar.svg; do
  grep -q " $file\$" <<<"$contents" || {
    echo "FAIL the package lacks $file"
    exit 1
  }
done
echo "ok   it holds the program, its desktop entry, metadata and icon"

if [ "$(id -u)" -ne 0 ]; then
  echo "skip installing the package: not root"
  exit 0
fi
installed() { [ "$(dpkg-query -W -f='${Status}' velitar 2>/dev/null)" = "install ok installed" ]; }
# The system's package is one for all: another run of this check (another
# checkout's) waits until this one has removed it again, as the project's
# package installs do (setup-debian.sh); and apt-get waits for dpkg's own
# lock, which anything else on the machine (unattended upgrades) may hold for
# a while.
exec 9>/var/lock/velitar-apt.lock
flock -w 600 9 || { echo "FAIL the project's package lock /var/lock/velitar-apt.lock was not free within 10 minutes"; exit 1; }
apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 "$@"; }
if installed; then
  echo "skip installing the package: velitar is installed already and is left as it is"
  exit 0
fi
trap 'apt_get remove -y -q velitar >/dev/null 2>&1 || true' EXIT
apt_get install -y -q "./$deb" >/dev/null
echo "ok   apt-get install ./$(basename "$deb")"
VELITAR_PROGRAM=/usr/bin/velitar bash scripts/checks/20-smoke.sh
apt_get remove -y -q velitar >/dev/null
trap - EXIT
! installed
echo "ok   apt-get remove velitar"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fetches Debian's qt6-base source package of the same version as the
# installed qt6-base-dev (Debian 13's) into WORK, unpacks it as WORK/src and
# applies the project's own changes to Qt, the given patches, each of which
# says why it is there. The system's apt configuration is not touched: a
# private one adds Debian's source lists beside the system's, for this
# download only.
# Usage: source.sh WORK PATCH...
set -euo pipefail
work=$1
shift
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
apt=$work/apt
rm -rf "$apt" "$work/src"
mkdir -p "$apt/etc/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial"
if [ -f /etc/apt/sources.list ]; then sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$apt/etc/sources.list"; fi
for f in /etc/apt/sources.list.d/*.sources; do
  [ -e "$f" ] && sed 's/^Types:.*/Types: deb-src/' "$f" >"$apt/etc/sources.list.d/${f##*/}"
done
touch "$apt/etc/sources.list"
private=(-o "Dir::Etc::SourceList=$apt/etc/sources.list" -o "Dir::Etc::SourceParts=$apt/etc/sources.list.d"
  -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o APT::Sandbox::User=root)
echo "== Qt $version: the source" >&2
apt-get "${private[@]}" update -q >&2
(cd "$work" && apt-get "${private[@]}" source --download-only "qt6-base=$version" >&2)
dpkg-source -x "$work"/qt6-base_*.dsc "$work/src" >&2
for patch in "$@"; do
  patch -d "$work/src" -p1 --forward --quiet <"$patch" >&2
done

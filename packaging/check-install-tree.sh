#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the built program into a temporary root, as a package does
# (cmake --install, prefix /usr), and checks its desktop integration there:
# the program, the .desktop entry, the AppStream metadata, the icons, the
# copyright file, the changelog and the manual page are in their places,
# valid, and agree with one another.
# Usage: check-install-tree.sh BUILD-DIR
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
usr="$root/usr"
id=org.velitar.Velitar
failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

for file in bin/velitar "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
  "share/icons/hicolor/scalable/apps/$id.svg"; do
  [ -e "$usr/$file" ] && echo "ok   $file" || fail "$file is not installed"
done
[ -x "$usr/bin/velitar" ] || fail "bin/velitar is not executable"
# Only the program itself: no test or benchmark program is installed.
programs=$(ls "$usr/bin")
[ "$programs" = velitar ] || fail "bin/ holds more than velitar: $(echo $programs)"

# Each PNG icon stands in the folder of its size.
pngs=0
for png in "$usr"/share/icons/hicolor/*x*/apps/"$id".png; do
  [ -e "$png" ] || continue
  size=$(basename "$(dirname "$(dirname "$png")")")
  actual=$(identify -format '%wx%h' "$png")
  [ "$actual" = "$size" ] || fail "$png is $actual"
  pngs=$((pngs + 1))
done
[ "$pngs" -ge 3 ] && echo "ok   $pngs PNG icons, each of its folder's size" || fail "only $pngs PNG icons installed"

# The entry starts the installed program and names the installed icon.
desktop="$usr/share/applications/$id.desktop"
grep -qx "Exec=velitar" "$desktop" || fail "the entry does not start velitar"
grep -qx "Icon=$id" "$desktop" || fail "the entry does not name the icon $id"
desktop-file-validate "$desktop" || fail "desktop-file-validate"

# The licence, the changelog and the manual page, where Debian keeps them.
doc="$usr/share/doc/velitar"
copyright="$doc/copyright"
if [ -f "$copyright" ]; then
  [ "$(head -n1 "$copyright")" = 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ] ||
    fail "copyright is not in the machine-readable format"
  grep -q '^License: GPL-3+$' "$copyright" || fail "copyright does not name GPL-3+"
  grep -q '"/usr/share/common-licenses/GPL-3"' "$copyright" && [ -f /usr/share/common-licenses/GPL-3 ] ||
    fail "copyright does not refer to /usr/share/common-licenses/GPL-3"
  echo "ok   share/doc/velitar/copyright"
else
  fail "share/doc/velitar/copyright is not installed"
fi
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p;T;q' "$usr/share/metainfo/$id.metainfo.xml")
if changelog=$(gzip -dc "$doc/changelog.gz" 2>/dev/null); then
  changelog=${changelog%%$'\n'*}
  [ "$changelog" = "velitar ($release) unstable; urgency=medium" ] ||
    fail "the changelog's newest entry, '$changelog', is not release $release"
  echo "ok   share/doc/velitar/changelog.gz: $release"
else
  fail "share/doc/velitar/changelog.gz is not installed or not gzipped"
fi
man="$usr/share/man/man1/velitar.1.gz"
if [ -f "$man" ] && gzip -t "$man"; then
  # groff's warnings count; the page names the program and its homepage.
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$man" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man velitar: $warnings"
  page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$man" 2>/dev/null)
  grep -q '^ *velitar - ' <<<"$page" || fail "the manual page does not name velitar"
  homepage=$(sed -n 's|.*<url type="homepage">\([^<]*\)</url>.*|\1|p' "$usr/share/metainfo/$id.metainfo.xml")
  [ -n "$homepage" ] && grep -qF "$homepage" <<<"$page" && grep -qx "Source: $homepage" "$copyright" ||
    fail "the manual page and the copyright file do not give the metadata's homepage '$homepage'"
  echo "ok   share/man/man1/velitar.1.gz"
else
  fail "share/man/man1/velitar.1.gz is not installed or not gzipped"
fi

# The whole installed tree, as software centres read it: metadata, entry and icons together.
if appstreamcli validate-tree --no-net --strict "$root"; then
  echo "ok   appstreamcli validate-tree"
else
  fail "appstreamcli validate-tree"
fi

exit $((failures > 0))

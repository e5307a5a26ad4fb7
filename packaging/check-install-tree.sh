#!/usr/bin/env bash
# Installs the built program into a temporary root, as a package does
# (cmake --install, prefix /usr), and checks its desktop integration there:
# the program, the .desktop entry, the AppStream metadata and the icons are in
# their places, valid, and agree with one another.
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

# The whole installed tree, as software centres read it: metadata, entry and icons together.
if appstreamcli validate-tree --no-net --strict "$root"; then
  echo "ok   appstreamcli validate-tree"
else
  fail "appstreamcli validate-tree"
fi

exit $((failures > 0))

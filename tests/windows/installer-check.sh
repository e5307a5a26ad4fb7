#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer under Wine, in the fresh prefix of with-wine.sh:
#   1. an older version (made here from the same files) is installed
#      silently, then this one over it: one entry in the list of installed
#      apps, with this version, and this velitar.exe in place;
#   2. the Start-menu shortcut «Велитарь» points at the installed program, and
#      the program started from there shows its start window and ends by Exit
#      with status 0;
#   3. the uninstaller, run silently, leaves nothing: the whole file system of
#      the prefix (drive_c) and its registry (the hives user.reg, system.reg
#      and userdef.reg) are compared with what they were before the first
#      install (prefix-diff.py).
# Usage: installer-check.sh DIST-DIR BUILD-DIR VERSION
set -uo pipefail
dist=$1
build=$2
version=$3
setup=$dist/velitar-$version-setup.exe
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/desktop.sh"
winvar() { wine cmd /c "echo %$1%" 2>/dev/null | tr -d '\r'; }

# What the prefix holds: every path under drive_c, and its registry hives.
snapshot() {
  wineserver -w
  mkdir -p "$1"
  (cd "$WINEPREFIX/drive_c" && find . | LC_ALL=C sort) >"$1/files"
  cp "$WINEPREFIX"/{user,system,userdef}.reg "$1/"
}

# Wine settles its own bookkeeping (devices, network cards) at the first
# start of a program after the prefix is made, and its console's settings
# (HKCU\Console, which Windows always has) at the first console window; the
# snapshot comes after that.
wine start /wait /min cmd /c exit
snapshot "$work/before"
programs=$(winepath -u "$(winvar LOCALAPPDATA)\\Programs\\Velitar")
shortcut=$(winepath -u "$(winvar APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Велитарь.lnk")

makensis -V1 -INPUTCHARSET UTF8 -DVERSION=0.9.0 "-DDIST=$PWD/$dist" "-DICON=$PWD/$build/resources/velitar-start.ico" \
  "-DOUTFILE=$work/velitar-0.9.0-setup.exe" packaging/windows/velitar.nsi
wine "$work/velitar-0.9.0-setup.exe" /S
wineserver -w
wine "$setup" /S
wineserver -w
# The list of installed apps, as the registry holds it (exported as UTF-16).
uninstall_keys() {
  wine reg export 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' "$work/uninstall.reg" /y >/dev/null 2>&1
  iconv -f UTF-16 -t UTF-8 "$work/uninstall.reg" | tr -d '\r'
}
listed=$(uninstall_keys)
entries=$(grep -c '^\[.*\\Uninstall\\.*\]$' <<<"$listed")
[ "$entries" = 1 ] && ok "one entry in the list of installed apps after installing $version over 0.9.0" ||
  fail "$entries entries in the list of installed apps"
for value in '"DisplayName"="Велитарь"' "\"DisplayVersion\"=\"$version\"" '"Publisher"="Velitar developers"' \
  '"DisplayIcon"=".*\\\\velitar.exe,0"' '"EstimatedSize"=dword:0000[0-9a-f]{4}' \
  '"QuietUninstallString"="\\"[^"]*\\\\uninstall.exe\\" /S _\?=' '"NoModify"=dword:00000001'; do
  line=$(grep -E "^$value" <<<"$listed") && ok "entry: $line" || fail "no entry value $value"
done
quiet=$(sed -n 's/^"QuietUninstallString"="\(.*\)"$/\1/p' <<<"$listed" | sed 's/\\\(["\\]\)/\1/g')
cmp -s "$programs/velitar.exe" "$dist/velitar.exe" && ok "installed: $programs/velitar.exe, this version's" ||
  fail "no velitar.exe of this version in $programs"
installed=$(ls "$programs" | xargs)
[ "$installed" = "licenses.txt uninstall.exe velitar.exe" ] && ok "installed folder: $installed" ||
  fail "installed folder holds: $installed"

# The shortcut's target, from its LinkInfo (the local base path).
target=$(python3 - "$shortcut" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
flags = struct.unpack_from("<I", data, 0x14)[0]
pos = 0x4C
if flags & 1:
    pos += 2 + struct.unpack_from("<H", data, pos)[0]
header, base = struct.unpack_from("<I", data, pos + 4)[0], struct.unpack_from("<I", data, pos + 16)[0]
if header >= 0x24:
    at = pos + struct.unpack_from("<I", data, pos + 28)[0]
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    print(data[at:end].decode("utf-16-le"))
else:
    print(data[pos + base:data.index(b"\0", pos + base)].decode("latin-1"))
PY
)
if [ -n "$target" ] && [ "$(winepath -u "$target")" = "$programs/velitar.exe" ]; then
  ok "the Start-menu shortcut «Велитарь» points at $target"
  start_and_exit "$target" "started from the shortcut"
else
  fail "the shortcut $shortcut points at '$target', not at the installed program"
fi

# The quiet uninstall, as the list of installed apps has it: "program" arguments.
echo "     uninstalling: $quiet"
exe=${quiet#\"}
exe=${exe%%\"*}
read -ra arguments <<<"${quiet#\"*\" }"
wine "$exe" "${arguments[@]}"
snapshot "$work/after"
python3 "$(dirname "$0")/prefix-diff.py" "$work/before" "$work/after" || failures=$((failures + 1))
[ "$failures" = 0 ] && ok "after uninstalling, nothing of Velitar is left in the file system or the registry"
exit $((failures > 0))

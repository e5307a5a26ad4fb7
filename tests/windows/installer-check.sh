#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer under Wine, in the fresh prefix of with-wine.sh:
#   1. an older version (made here from the same files, its velitar.exe
#      marked as another) is installed silently, then this one over it: each
#      ends with status 0, and then there is one entry in the list of
#      installed apps, with this version, and this velitar.exe in place;
#   2. the Start-menu shortcut «Велитарь» points at the installed program, and
#      the program started from there shows its start window and ends by Exit
#      with status 0;
#   3. while the program runs, installing over it and uninstalling it, run
#      silently, change nothing and end with status 2;
#   4. the uninstaller as a user runs it, from the list of installed apps
#      with its window (confirmed; closed a few seconds after it has done its
#      work), leaves nothing: the whole file system of the prefix (drive_c:
#      every path and every file's contents) and its registry (the hives
#      user.reg, system.reg and userdef.reg: every key and value) are
#      compared with what they were before the first install (prefix-diff.py).
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
  (cd "$WINEPREFIX/drive_c" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 -r sha256sum) >"$1/contents"
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

# The list of installed apps, as the registry holds it (exported as UTF-16).
uninstall_keys() {
  wine reg export 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' "$work/uninstall.reg" /y >/dev/null 2>&1
  iconv -f UTF-16 -t UTF-8 "$work/uninstall.reg" | tr -d '\r'
}

# The older version: the same files, but for a velitar.exe of other bytes.
mkdir "$work/old"
cp "$dist/licenses.txt" "$work/old/"
{ cat "$dist/velitar.exe" && printf 'velitar 0.9.0'; } >"$work/old/velitar.exe"
makensis -V1 -INPUTCHARSET UTF8 -DVERSION=0.9.0 "-DDIST=$work/old" "-DICON=$(realpath "$build")/resources/velitar-start.ico" \
  "-DOUTFILE=$work/velitar-0.9.0-setup.exe" packaging/windows/velitar.nsi
# installs SETUP VERSION BYTES: SETUP, run silently, ends with status 0 and
# leaves VERSION in the list of installed apps and BYTES as the program.
installs() {
  local status=0
  wine "$1" /S || status=$?
  wineserver -w
  [ "$status" = 0 ] && ok "installing $2 silently: status 0" || fail "installing $2 silently: status $status"
  version_listed "$2" && cmp -s "$programs/velitar.exe" "$3" && ok "$2 installed: its velitar.exe in $programs" ||
    fail "after installing $2: listed as $(version_listed), velitar.exe $(cmp "$programs/velitar.exe" "$3" 2>&1)"
}
version_listed() { # VERSION: whether the list of installed apps has that version; prints it without
  local listed
  listed=$(uninstall_keys | sed -n 's/^"DisplayVersion"="\(.*\)"$/\1/p')
  [ $# = 0 ] && echo "${listed:-nothing}"
  [ $# = 1 ] && [ "$listed" = "$1" ]
}
installs "$work/velitar-0.9.0-setup.exe" 0.9.0 "$work/old/velitar.exe"
installs "$setup" "$version" "$dist/velitar.exe"
listed=$(uninstall_keys)
entries=$(grep -c '^\[.*\\Uninstall\\.*\]$' <<<"$listed")
[ "$entries" = 1 ] && ok "one entry in the list of installed apps after installing $version over 0.9.0" ||
  fail "$entries entries in the list of installed apps"
for value in '"DisplayName"="Велитарь"' "\"DisplayVersion\"=\"$version\"" '"Publisher"="Velitar developers"' \
  '"DisplayIcon"=".*\\\\velitar.exe,0"' '"EstimatedSize"=dword:0000[0-9a-f]{4}' \
  '"UninstallString"="\\"[^"]*\\\\uninstall.exe\\" _\?=' \
  '"QuietUninstallString"="\\"[^"]*\\\\uninstall.exe\\" /S _\?=' '"NoModify"=dword:00000001'; do
  line=$(grep -E "^$value" <<<"$listed") && ok "entry: $line" || fail "no entry value $value"
done
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

# While the program runs, its file is in use: installing and uninstalling
# change nothing and say so with status 2 (silently: they ask no one).
wine "$programs/velitar.exe" &
pid=$!
if start=$(window_named '"Velitar"'); then
  status=0
  wine "$work/velitar-0.9.0-setup.exe" /S || status=$?
  [ "$status" = 2 ] && version_listed "$version" && cmp -s "$programs/velitar.exe" "$dist/velitar.exe" &&
    ok "installing 0.9.0 while the program runs: status 2, $version left as it was" ||
    fail "installing 0.9.0 while the program runs: status $status, listed $(version_listed)"
  quiet=$(sed -n 's/^"QuietUninstallString"="\(.*\)"$/\1/p' <<<"$listed" | sed 's/\\\(["\\]\)/\1/g')
  exe=${quiet#\"}
  exe=${exe%%\"*}
  read -ra arguments <<<"${quiet#\"*\" }"
  status=0
  wine "$exe" "${arguments[@]}" || status=$?
  left=$(ls "$programs" | xargs)
  [ "$status" = 2 ] && [ "$left" = "licenses.txt uninstall.exe velitar.exe" ] && version_listed "$version" &&
    ok "uninstalling silently while the program runs ($quiet): status 2, nothing taken away" ||
    fail "uninstalling while the program runs: status $status, left: $left, listed $(version_listed)"
  click "$start" 264 276 # Exit (Command1)
  ended
  [ "$status" = 0 ] || fail "the program, ended by Exit after those: status $status"
else
  fail "the installed program did not start"
  kill "$pid" 2>/dev/null
fi

# The uninstall as a user does it: the list of installed apps starts its
# UninstallString; its window asks for a confirmation (Enter: «Удалить»),
# does the work and waits for «Закрыть», pressed here some seconds later.
uninstall=$(sed -n 's/^"UninstallString"="\(.*\)"$/\1/p' <<<"$listed" | sed 's/\\\(["\\]\)/\1/g')
echo "     uninstalling as a user does: $uninstall"
exe=${uninstall#\"}
exe=${exe%%\"*}
read -ra arguments <<<"${uninstall#\"*\" }"
wine "$exe" "${arguments[@]}" &
pid=$!
if window=$(window_named "Удаление Велитарь *"); then # NSIS ends its title with a blank
  xdotool windowactivate --sync "$window" key Return
  for _ in $(seq 300); do
    [ -e "$programs/velitar.exe" ] || break
    sleep 0.1
  done
  [ -e "$programs/velitar.exe" ] && fail "velitar.exe still there 30 s after confirming the uninstall"
  sleep 5
  for _ in $(seq 60); do
    kill -0 "$pid" 2>/dev/null || break
    xdotool windowactivate --sync "$window" key Return 2>/dev/null
    sleep 0.5
  done
  ended
  [ "$status" = 0 ] && ok "the uninstaller's window, confirmed and closed: status 0" ||
    fail "the uninstaller after «Закрыть»: status $status"
  # What the uninstaller leaves to a hidden command goes within seconds.
  for _ in $(seq 100); do
    [ -e "$programs" ] || break
    sleep 0.1
  done
else
  fail "no window «Удаление Велитарь» of the uninstaller; windows: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | xargs)"
  kill "$pid" 2>/dev/null
fi
snapshot "$work/after"
python3 "$(dirname "$0")/prefix-diff.py" "$work/before" "$work/after" || failures=$((failures + 1))
[ "$failures" = 0 ] && ok "after uninstalling, nothing of Velitar is left in the file system or the registry"
exit $((failures > 0))

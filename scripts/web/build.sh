#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Velitar for the browser here, from Debian's packages and sources
# alone, and tests it in Debian's Chromium:
#   1. Qt for WebAssembly, built once from Debian 13's qt6-base source package
#      with Debian's Emscripten and kept in a cache (build-qt.sh);
#   2. the program, built into build-web/, and its site put together in
#      build-web/site/ (make-site.py): a folder any static web server serves
#      as it is;
#   3. the site in headless Chromium (tests/web/browser-check.py), and read
#      by Orca in Chromium (orca.sh): Orca 48 on Debian 13 and, run from
#      Debian 12, Orca 43 there too.
# With --qt-only it stops after the first step (CI builds Qt so, beside the
# Linux tests); with --no-test after the second.
#
# It runs on Debian 13, as root. On another system (Debian 12) it runs itself
# in the Debian 13 chroot of scripts/test-debian13.sh, in a checkout copy of
# its own (/root/velitar-web; VELITAR_WEB_CHECKOUT names another), and copies
# build-web/site/ out of it.
set -euo pipefail
cd "$(dirname "$0")/../.."
if ! grep -q '^13\|^trixie' /etc/debian_version 2>/dev/null; then
  export VELITAR_TRIXIE_CHECKOUT=${VELITAR_WEB_CHECKOUT:-/root/velitar-web}
  bash scripts/test-debian13.sh bash scripts/web/build.sh "$@"
  if [ "${1:-}" != --qt-only ]; then
    bash scripts/copy-from-trixie.sh build-web site
    echo "ok   the web program's site: build-web/site/"
  fi
  if [ -z "${1:-}" ]; then
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    "${as_root[@]}" bash scripts/web/orca.sh build-web/site build-web/orca-transcript.txt
  fi
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  exec sudo bash "$0" "$@"
fi
seconds() { date +%s; }
began=$(seconds)
here=scripts/web
bash scripts/windows/install-packages.sh $here/packages-build.txt $here/packages-test.txt
qt=$(bash $here/build-qt.sh | tail -n 1)
echo "ok   Qt for WebAssembly: $qt ($(($(seconds) - began)) s)"
if [ "${1:-}" = --qt-only ]; then
  exit 0
fi

# Qt's build finds Emscripten through the stand-in emsdk folder it was built with.
export EMSDK=$qt/emsdk
build=build-web
built=$(seconds)
rm -rf $build
mkdir -p $build
echo "$qt" >$build/qt-prefix
"$qt/bin/qt-cmake" -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELITAR_BUILD_BENCH="${VELITAR_WEB_BENCH:-OFF}" \
  >$build/configure.log 2>&1 || {
  cat $build/configure.log
  exit 1
}
cmake --build $build
python3 $here/make-site.py . $build $build/site "$qt"
echo "ok   the program and its site built in $(($(seconds) - built)) s"
if [ "${1:-}" = --no-test ]; then
  exit 0
fi

# Where the windows' controls and rows are, read off the desktop program
# built with Debian's own Qt (the browser check clicks there).
tested=$(seconds)
cmake -S . -B $build/desktop -G Ninja -DVELITAR_BUILD_BENCH=OFF -DVELITAR_HARDENING=OFF >$build/desktop.log 2>&1
cmake --build $build/desktop --target velitar_layout_dump >>$build/desktop.log 2>&1 || {
  cat $build/desktop.log
  exit 1
}
QT_QPA_PLATFORM=offscreen $build/desktop/tests/velitar_layout_dump >$build/layout.json
python3 tests/web/browser-check.py $build/site $build/layout.json $build/screenshots
bash $here/orca.sh $build/site $build/orca-transcript.txt
echo "ok   tested in Chromium in $(($(seconds) - tested)) s"
echo "ok   web build and tests done in $(($(seconds) - began)) s"

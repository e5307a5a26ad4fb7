#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt for Windows (x86_64, static) from Debian's own qt6-base source
# package with Debian's MinGW-w64, once, into a cache folder named by the Qt
# version and a hash of this recipe; a later run finds it there and builds
# nothing. Prints the folder (the Qt prefix) as its last line.
#
# Runs on Debian 13, as root (it installs the packages of packages-build.txt).
#   VELITAR_QT_CACHE  where the built Qt is kept (default /var/cache/velitar)
#   VELITAR_QT_KEEP_BUILD=1  keeps the build folder (work-<recipe>/build) for
#                     trying a change to Qt without building all of it again
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
qt_dir=$(cd "$here/../qt" && pwd)
cache=${VELITAR_QT_CACHE:-/var/cache/velitar}
log() { echo "$*" >&2; }

# Only what the program uses: Core, Gui, Widgets and Test, the windows
# platform plugin, the "Windows" style, PNG, FreeType and HarfBuzz built in.
# Debian's source leaves out wintab (tablet support is off) and iaccessible2
# (the UI Automation bridge does not need it). Release builds are optimised
# for size. (DirectWrite and Direct2D stay: 6.8.2 compiles neither without
# DirectWrite nor DirectWrite without Direct2D.)
features=(
  -DINPUT_opengl=no
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF -DFEATURE_dbus=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF
  -DFEATURE_tabletevent=OFF
  -DFEATURE_style_windowsvista=OFF -DFEATURE_style_windows11=OFF
  -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
  -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF
  -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF -DFEATURE_harfbuzz=ON -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_png=ON -DFEATURE_system_png=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_doubleconversion=OFF
  -DFEATURE_relocatable=ON
  -DFEATURE_gc_binaries=ON -DFEATURE_ltcg=OFF -DFEATURE_optimize_size=ON
)
options=(
  -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_GENERATE_SBOM=OFF -DQT_UNITY_BUILD=ON
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
)

# The packages: the cross compiler, the build tools, and Qt's host tools of
# the same version (moc, rcc, uic, syncqt) from Debian's own Qt.
bash "$here/install-packages.sh" "$here/packages-build.txt"
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
upstream=${version%%+*}
upstream=${upstream#*:}
patches=("$qt_dir"/patches/windows/*.patch)

# The recipe: everything that decides what is built, this script included.
recipe=$( (printf '%s\n' "$version" "${features[@]}" "${options[@]}"
  cat "$0" "$here/mingw-w64.cmake" "$qt_dir/source.sh" "$qt_dir/attributions.py" "${patches[@]}"
  dpkg-query -W -f='${Version}\n' g++-mingw-w64-x86-64-posix) | sha256sum | cut -c1-12)
prefix=$cache/qt-$upstream-windows-x86_64-$recipe
if [ -f "$prefix/.complete" ]; then
  log "Qt for Windows: $prefix (built earlier)"
  echo "$prefix"
  exit 0
fi

began=$(date +%s)
work=$cache/work-$recipe
# An interrupted build of the same recipe goes on where it stopped.
if [ -f "$work/.configured" ]; then
  log "== Qt for Windows: going on with the build in $work"
  configured=$began
else
  rm -rf "$work" "$prefix"
  mkdir -p "$work"
  bash "$qt_dir/source.sh" "$work" "${patches[@]}"
  log "== Qt $version for Windows: configure"
  mkdir -p "$prefix" "$work/build"
  cp "$here/mingw-w64.cmake" "$prefix/mingw-w64.cmake"
  # Nothing of where it was built goes into the objects: no source or build
  # folder in them (file-prefix-map), and no install folder in the library
  # (relocatable: a static Qt then takes the program's own folder as its
  # prefix), so the program's bytes do not depend on the cache's place.
  cmake -S "$work/src" -B "$work/build" "${options[@]}" "${features[@]}" \
    -DCMAKE_C_FLAGS="-ffile-prefix-map=$work=/qt" -DCMAKE_CXX_FLAGS="-ffile-prefix-map=$work=/qt" \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" >"$work/configure.log" 2>&1 || {
    tail -n 40 "$work/configure.log" >&2
    exit 1
  }
  touch "$work/.configured"
  configured=$(date +%s)
fi
log "== Qt $version for Windows: build ($(($configured - began)) s so far)"
cmake --build "$work/build" --parallel >>"$work/build.log" 2>&1 || {
  grep -B2 -A20 -m3 'FAILED\|error:' "$work/build.log" >&2
  exit 1
}
cmake --install "$work/build" >"$work/install.log" 2>&1
# What a program that links this Qt must pass on with it: Qt's licences,
# Debian's copyright file of the whole source, the third-party code in each
# object (attributions.py), and which source it is: Debian's revision and the
# project's changes to it.
mkdir -p "$prefix/licenses/patches"
cp -r "$work/src/LICENSES/." "$prefix/licenses/"
cp "$work/src/debian/copyright" "$prefix/licenses/debian-copyright"
cp "${patches[@]}" "$prefix/licenses/patches/"
echo "$version" >"$prefix/licenses/debian-version"
python3 "$qt_dir/attributions.py" "$work/build" "$work/src" "$prefix/licenses/attributions.json" >&2
log "Qt for Windows: configure $(($configured - began)) s, build and install $(($(date +%s) - configured)) s"
touch "$prefix/.complete"
[ -n "${VELITAR_QT_KEEP_BUILD:-}" ] || rm -rf "$work"
echo "$prefix"

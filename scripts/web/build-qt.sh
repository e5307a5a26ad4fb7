#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt for WebAssembly (static, single-threaded) from Debian's own
# qt6-base source package with Debian's Emscripten, once, into a cache folder
# named by the Qt version and a hash of this recipe; a later run finds it
# there and builds nothing. Prints the folder (the Qt prefix) as its last line.
#
# Runs on Debian 13, as root (it installs the packages of packages-build.txt).
#   VELITAR_QT_CACHE  where the built Qt is kept (default /var/cache/velitar)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
qt_dir=$(cd "$here/../qt" && pwd)
cache=${VELITAR_QT_CACHE:-/var/cache/velitar}
log() { echo "$*" >&2; }

# Only what the program uses: Core, Gui, Widgets and Test, the wasm platform
# plugin, PNG, FreeType and HarfBuzz built in; optimised for size.
features=(
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF -DFEATURE_dbus=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_icu=OFF
  -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
  -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF
  -DFEATURE_thread=OFF -DFEATURE_optimize_size=ON
)
options=(
  -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_GENERATE_SBOM=OFF -DQT_UNITY_BUILD=ON
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
  -DQT_SKIP_AUTO_PLUGIN_INCLUSION=OFF
)

bash "$here/../windows/install-packages.sh" "$here/packages-build.txt"
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
upstream=${version%%+*}
upstream=${upstream#*:}
patches=()
for p in "$qt_dir"/patches/wasm/*.patch; do [ -e "$p" ] && patches+=("$p"); done

# The recipe: everything that decides what is built, this script included.
recipe=$( (printf '%s\n' "$version" "${features[@]}" "${options[@]}"
  cat "$0" "$qt_dir/source.sh" "${patches[@]}"
  dpkg-query -W -f='${Version}\n' emscripten) | sha256sum | cut -c1-12)
prefix=$cache/qt-$upstream-wasm-$recipe
if [ -f "$prefix/.complete" ]; then
  log "Qt for WebAssembly: $prefix (built earlier)"
  echo "$prefix"
  exit 0
fi

began=$(date +%s)
work=$cache/work-$recipe
rm -rf "$work" "$prefix"
mkdir -p "$work"
bash "$qt_dir/source.sh" "$work" "${patches[@]}"
log "== Qt $version for WebAssembly: configure"
mkdir -p "$prefix" "$work/build"
# Qt's build looks for Emscripten in an emsdk folder ($EMSDK, its .emscripten
# naming the compiler's folder relative to it); Debian's is in
# /usr/share/emscripten, so a folder of the cache stands in for the emsdk.
mkdir -p "$prefix/emsdk"
echo "EMSCRIPTEN_ROOT = '$(realpath --relative-to="$prefix/emsdk" /usr/share/emscripten)'" >"$prefix/emsdk/.emscripten"
export EMSDK=$prefix/emsdk
cmake -S "$work/src" -B "$work/build" "${options[@]}" "${features[@]}" \
  -DCMAKE_C_FLAGS="-ffile-prefix-map=$work=/qt" -DCMAKE_CXX_FLAGS="-ffile-prefix-map=$work=/qt" \
  -DCMAKE_INSTALL_PREFIX="$prefix" >"$work/configure.log" 2>&1 || {
  tail -n 40 "$work/configure.log" >&2
  exit 1
}
configured=$(date +%s)
log "== Qt $version for WebAssembly: build ($(($configured - began)) s so far)"
cmake --build "$work/build" --parallel >>"$work/build.log" 2>&1 || {
  grep -B2 -A20 -m3 'FAILED\|error:' "$work/build.log" >&2
  exit 1
}
cmake --install "$work/build" >"$work/install.log" 2>&1
mkdir -p "$prefix/licenses"
cp -r "$work/src/LICENSES/." "$prefix/licenses/"
cp "$work/src/debian/copyright" "$prefix/licenses/debian-copyright"
echo "$version" >"$prefix/licenses/debian-version"
log "Qt for WebAssembly: configure $(($configured - began)) s, build and install $(($(date +%s) - configured)) s"
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"

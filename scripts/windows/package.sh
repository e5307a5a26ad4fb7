#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Windows packages from a build: into DIST (beside velitar.exe),
#   licenses.txt                         the licences of all that is in it, and where
#                                        its source is (the project's address:
#                                        VELITAR_HOMEPAGE_URL, https://velitar.org)
#   velitar-VERSION-windows-x86_64.zip   the portable program: velitar.exe and licenses.txt
#   velitar-VERSION-setup.exe            the installer (NSIS, packaging/windows/velitar.nsi)
# With VELITAR_SIGN_PKCS12 (a PKCS#12 file with a code-signing certificate and
# its key), velitar.exe, the uninstaller and the installer are signed
# (Authenticode, osslsigncode; sign.sh says how its password and a time stamp
# are given); without, nothing is.
# Usage: package.sh BUILD-DIR QT-PREFIX [DIST]   (DIST: BUILD-DIR/dist by default)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "$1")
qt=$2
dist=$(realpath -m "${3:-$build/dist}")
version=$(sed -n 's/^project(Velitar VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
mkdir -p "$dist"
rm -f "$dist"/*.zip "$dist"/*-setup.exe
cp "$build/app/velitar.exe" "$dist/velitar.exe"

signing=${VELITAR_SIGN_PKCS12:+yes}
if [ -n "$signing" ]; then
  bash scripts/windows/sign.sh "$dist/velitar.exe"
fi

python3 scripts/windows/licenses.py "$dist/licenses.txt" "$version" "$qt" . "$build/app/velitar.map" \
  "${VELITAR_HOMEPAGE_URL:-https://velitar.org}"
python3 scripts/windows/make-zip.py "$dist/velitar-$version-windows-x86_64.zip" "$dist/velitar.exe" "$dist/licenses.txt"

nsis=(makensis -V2 -INPUTCHARSET UTF8 "-DVERSION=$version" "-DDIST=$dist" "-DICON=$build/resources/velitar-start.ico"
  "-DOUTFILE=$dist/velitar-$version-setup.exe")
if [ -n "$signing" ]; then
  nsis+=("-DSIGN=bash $PWD/scripts/windows/sign.sh \"%1\"")
fi
"${nsis[@]}" packaging/windows/velitar.nsi
if [ -n "$signing" ]; then
  bash scripts/windows/sign.sh "$dist/velitar-$version-setup.exe"
fi
(cd "$dist" && ls -l velitar.exe licenses.txt ./*.zip ./*-setup.exe)

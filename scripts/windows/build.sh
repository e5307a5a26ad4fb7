#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Velitar for Windows here, from Debian's packages and sources alone,
# and tests it under Wine:
#   1. Qt for Windows, built once from Debian 13's qt6-base source package
#      with MinGW-w64 and kept in a cache (build-qt.sh);
#   2. velitar.exe and the test suites, cross-built into build-windows/;
#   3. the checks of the built file (check-exe.py);
#   4. the test suites, the program itself and its installer under Wine, in
#      a private X server with a fresh Wine prefix (tests/windows/with-wine.sh),
#      and the screenshots rendered there against docs/screenshots/
#      (tests/windows/suite.sh).
# What it makes is in build-windows/dist/. With --qt-only it stops after the
# first step (CI builds Qt so, beside the Linux tests).
#
# It runs on Debian 13, as root. On another system (Debian 12) it runs itself
# in the Debian 13 chroot of scripts/test-debian13.sh, in a checkout copy of
# its own (/root/velitar-windows, so that it may run beside the Linux tests
# there; VELITAR_WINDOWS_CHECKOUT names another), and copies
# build-windows/dist/ out of it.
set -euo pipefail
cd "$(dirname "$0")/../.."
if ! grep -q '^13\|^trixie' /etc/debian_version 2>/dev/null; then
  # The chroot's copy of the checkout has no history: the commit's time is
  # handed in.
  export VELITAR_TRIXIE_CHECKOUT=${VELITAR_WINDOWS_CHECKOUT:-/root/velitar-windows}
  status=0
  bash scripts/test-debian13.sh env SOURCE_DATE_EPOCH="$(git log -1 --format=%ct 2>/dev/null || echo 0)" \
    bash scripts/windows/build.sh "$@" || status=$?
  root=$(realpath -m "${VELITAR_TRIXIE_ROOT:-/var/tmp/velitar-trixie}")
  # What the UI Automation check read, also when a check failed.
  transcript=$root$VELITAR_TRIXIE_CHECKOUT/build-windows/tests/uia-transcript.txt
  if [ -f "$transcript" ]; then
    mkdir -p build-windows
    cp "$transcript" build-windows/
  fi
  [ "$status" = 0 ] || exit "$status"
  if [ "${1:-}" != --qt-only ]; then
    bash scripts/copy-from-trixie.sh build-windows dist
    echo "ok   the Windows program and its packages: build-windows/dist/"
  fi
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  exec sudo bash "$0" "$@"
fi
seconds() { date +%s; }
began=$(seconds)
here=scripts/windows
bash $here/install-packages.sh $here/packages-build.txt $here/packages-test.txt

qt=$(bash $here/build-qt.sh | tail -n 1)
echo "ok   Qt for Windows: $qt ($(($(seconds) - began)) s)"
if [ "${1:-}" = --qt-only ]; then
  exit 0
fi

# The same bytes from every build of the same commit: the resources' time
# stamps are the commit's.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 0)}
export SOURCE_DATE_EPOCH
build=build-windows
built=$(seconds)
# Every run builds from a clean folder: what a run ships, and compares with a
# second build below, is then made from the sources alone (a folder left by
# an earlier run keeps, for one, resources compiled with older time stamps).
rm -rf $build
mkdir -p $build
"$qt/bin/qt-cmake" -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$PWD/tests/windows/wine-run.sh" >$build/configure.log 2>&1 || {
  cat $build/configure.log
  exit 1
}
cmake --build $build
echo "ok   velitar.exe and the tests built in $(($(seconds) - built)) s"
bash $here/package.sh $build "$qt"
# The bytes must not depend on where Qt and the program were built.
python3 $here/check-exe.py $build/dist/velitar.exe "$(dirname "$(realpath "$qt")")" "$PWD"
version=$(sed -n 's/^project(Velitar VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# The notices name what Qt Core takes in from its own sources as well as what
# it compiles, and where the exact source of Qt can be had.
notices=$(tr -d '\r' <$build/dist/licenses.txt)
linked=${notices#*B. Third-party code in the Qt that velitar.exe links}
linked=${linked%%C. Fonts:*}
for notice in "TinyCBOR" "Easing Equations by Robert Penner" "Secure Hash Algorithm SHA-1" \
  "Secure Hash Algorithms SHA-384 and SHA-512" "SipHash Algorithm" "MD5" "BLAKE2" "Freetype 2" "HarfBuzz-NG"; do
  [[ $linked == *"
$notice"* ]] || {
    echo "FAIL licenses.txt does not list among what velitar.exe links: $notice"
    exit 1
  }
done
for part in "https://snapshot.debian.org/package/qt6-base/$(cat "$qt/licenses/debian-version")/" \
  "Files: src/3rdparty/tinycbor/*"; do
  [[ $notices == *"$part"* ]] || {
    echo "FAIL licenses.txt does not hold: $part"
    exit 1
  }
done
echo "ok   licenses.txt names the third-party code Qt takes in, Debian's copyright file and the source"

tested=$(seconds)
bash tests/windows/with-wine.sh bash tests/windows/suite.sh $build
echo "ok   tested under Wine in $(($(seconds) - tested)) s"

# Signing: with a throw-away code-signing certificate made here, the program,
# the uninstaller and the installer are signed and time-stamped by a
# time-stamping service of the tests on this machine, and osslsigncode
# verifies the program's and the installer's signatures and time stamps
# against those certificates. The certificate's password is given in a file,
# as sign.sh takes it.
signing=$(mktemp -d)
python3 tests/windows/timestamp-service.py "$signing" >"$signing/url" &
service=$!
for _ in $(seq 100); do
  [ -s "$signing/url" ] && break
  sleep 0.1
done
[ -s "$signing/url" ] || { echo "FAIL the time-stamping service did not start within 10 s"; exit 1; }
openssl req -x509 -newkey rsa:3072 -nodes -days 2 -subj "/CN=Velitar test signing" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$signing/key.pem" -out "$signing/cert.pem" 2>/dev/null
(umask 077 && openssl rand -hex 16 >"$signing/password")
openssl pkcs12 -export -inkey "$signing/key.pem" -in "$signing/cert.pem" -passout "file:$signing/password" \
  -out "$signing/cert.p12"
VELITAR_SIGN_PKCS12=$signing/cert.p12 VELITAR_SIGN_PASSWORD_FILE=$signing/password \
  VELITAR_SIGN_TIMESTAMP_URL=$(cat "$signing/url") bash $here/package.sh $build "$qt" "$signing/dist" >/dev/null
kill "$service"
wait "$service" 2>/dev/null || true
for file in velitar.exe "velitar-$version-setup.exe"; do
  osslsigncode verify -CAfile "$signing/cert.pem" -TSA-CAfile "$signing/tsa.pem" -in "$signing/dist/$file" \
    >"$signing/verify.log" 2>&1 && verified=$(cat "$signing/verify.log") &&
    [[ $verified == *'Timestamp Server Signature verification: ok'* ]] || {
    cat "$signing/verify.log"
    echo "FAIL the signature or time stamp of $file does not verify"
    exit 1
  }
  echo "ok   signed, time-stamped and verified: $file"
done
rm -rf "$signing"

# Reproducible: a second build of the same sources in a clean folder of
# another name gives the same bytes.
again=$build-again
rm -rf $again
"$qt/bin/qt-cmake" -S . -B $again -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELITAR_BUILD_TESTS=OFF \
  -DVELITAR_BUILD_BENCH=OFF >/dev/null
cmake --build $again --target velitar >/dev/null
bash $here/package.sh $again "$qt" >/dev/null
for file in velitar.exe licenses.txt "velitar-$version-windows-x86_64.zip" "velitar-$version-setup.exe"; do
  cmp "$build/dist/$file" "$again/dist/$file" || {
    echo "FAIL two builds of the same sources differ in $file"
    exit 1
  }
  echo "ok   the same bytes from two builds: $file ($(stat -c %s "$build/dist/$file") bytes)"
done
rm -rf $again
echo "ok   Windows build, tests and packages done in $(($(seconds) - began)) s"

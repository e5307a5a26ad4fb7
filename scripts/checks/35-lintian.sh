#!/usr/bin/env bash
# Debian's own checker on the package: lintian must report no error and no
# warning on the .deb that cpack -G DEB makes (its notes are shown, not
# counted). VELITAR_BUILD_DIR names the build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${VELITAR_BUILD_DIR:-build}

(cd "$build" && rm -f velitar_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/velitar_*.deb)
# Both lintian's status and the tags of its report count.
status=0
report=$(lintian --display-info --fail-on error,warning "$deb" 2>&1) || status=$?
report=$(grep -v 'running with root privileges' <<<"$report" || true)
[ -z "$report" ] || sed 's/^/     /' <<<"$report"
errors=$(grep -c '^E: ' <<<"$report" || true)
warnings=$(grep -c '^W: ' <<<"$report" || true)
if [ "$status" -ne 0 ] || [ "$errors" -ne 0 ] || [ "$warnings" -ne 0 ]; then
  echo "FAIL lintian $(lintian --version | sed 's/^Lintian v//'): $errors errors, $warnings warnings (status $status)"
  exit 1
fi
echo "ok   lintian $(lintian --version | sed 's/^Lintian v//'): 0 errors, 0 warnings on $(basename "$deb")"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Debian's own checker on the package: lintian must report no error and no
# warning on the .deb that cpack -G DEB makes (its notes are shown, not
# counted). Then its font dependencies must hold on this release: of each,
# the alternative apt installs is in the archive and is no transitional
# package, which the next release drops.
# VELITAR_BUILD_DIR names the build directory (default: build).
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

# The alternative apt takes is the first whose candidate version satisfies it.
declare -A relation=([">="]=ge ["<="]=le [">>"]=gt ["<<"]=lt ["="]=eq)
IFS=',' read -ra groups <<<"$(dpkg-deb -f "$deb" Depends)"
for group in "${groups[@]}"; do
  [[ $group == *fonts-* ]] || continue
  chosen=
  IFS='|' read -ra alternatives <<<"$group"
  for alternative in "${alternatives[@]}"; do
    read -r name op version <<<"$(tr -d '()' <<<"$alternative")"
    candidate=$(apt-cache policy "$name" 2>/dev/null | sed -n 's/^ *Candidate: //p')
    [ -n "$candidate" ] && [ "$candidate" != "(none)" ] || continue
    if [ -z "${op:-}" ] || dpkg --compare-versions "$candidate" "${relation[$op]}" "$version"; then
      chosen="$name=$candidate"
      break
    fi
  done
  if [ -z "$chosen" ]; then
    echo "FAIL no alternative of '${group# }' is in this release's archive"
    exit 1
  fi
  if grep -qi '^Description.*transitional' <<<"$(apt-cache show "$chosen")"; then
    echo "FAIL '${group# }' is met by $chosen, a transitional package"
    exit 1
  fi
  echo "ok   '${group# }' is met by $chosen"
done

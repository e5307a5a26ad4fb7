#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the README's test command (bash scripts/test.sh) on Debian 13 (trixie)
# in a chroot; among its checks, the screenshots rendered there are compared
# with the committed ones in docs/screenshots/ (the differing pixels of each).
#
# The chroot is made with debootstrap from Debian's mirror when it is not
# there yet, and reused afterwards. The checkout (its tracked and untracked,
# not ignored files) is copied into it as /root/velitar; the build happens
# there. /proc, /sys, /dev, /dev/pts and /dev/shm are mounted for the run and
# always unmounted again; no service is started inside (policy-rc.d).
#
# With arguments, runs that command in the checkout's copy instead, e.g.
#   scripts/test-debian13.sh bash scripts/checks/10-hardening.sh
#
#   VELITAR_TRIXIE_ROOT    the chroot (default /var/tmp/velitar-trixie)
#   VELITAR_DEBIAN_MIRROR  the mirror for debootstrap (default: the host's
#                          Debian mirror, else http://deb.debian.org/debian)
#   VELITAR_TRIXIE_CHECKOUT  where in the chroot the checkout is copied
#                          (default /root/velitar)
# Needs root (as another user it runs itself with sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
  exec sudo --preserve-env=VELITAR_TRIXIE_ROOT,VELITAR_DEBIAN_MIRROR,VELITAR_TRIXIE_CHECKOUT bash "$0" "$@"
fi
# The run's mounts are its own: another run's, in the same chroot, neither
# see them nor take them away.
if [ -z "${VELITAR_TRIXIE_NAMESPACE:-}" ]; then
  exec env VELITAR_TRIXIE_NAMESPACE=1 unshare --mount --propagation private bash "$0" "$@"
fi
checkout=$PWD
root=$(realpath -m "${VELITAR_TRIXIE_ROOT:-/var/tmp/velitar-trixie}")
seconds() { date +%s; }
began=$(seconds)

# The host's Debian mirror, from its apt sources.
host_mirror() {
  local uris
  uris=$(sed -n '/security/d; s/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null)
  echo "${uris%%$'\n'*}"
}
mirror=${VELITAR_DEBIAN_MIRROR:-$(host_mirror)}
mirror=${mirror:-http://deb.debian.org/debian}

if [ ! -x "$root/usr/bin/apt-get" ]; then
  command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q debootstrap
  echo "== making the Debian 13 chroot $root from $mirror"
  # Made aside and moved into place only when complete, so that an interrupted
  # debootstrap is never taken for a chroot to reuse.
  rm -rf "$root.new"
  debootstrap --variant=minbase trixie "$root.new" "$mirror" >"$root.log" 2>&1 || {
    tail -n 20 "$root.log"
    echo "FAIL debootstrap (log: $root.log)"
    exit 1
  }
  mv "$root.new" "$root"
  echo "ok   chroot made in $(($(seconds) - began)) s"
fi
grep -q '^13\|^trixie' "$root/etc/debian_version" || {
  echo "FAIL $root is not Debian 13: $(cat "$root/etc/debian_version")"
  exit 1
}

# Runs may start side by side (CI builds for Windows and for the browser at
# once): each file is put in place whole, by a rename, so that neither run
# finds the other's half-made one.
put() { # put MODE TARGET, the content on stdin
  local tmp
  tmp=$(mktemp "$2.XXXXXX")
  cat >"$tmp"
  chmod "$1" "$tmp"
  mv -f "$tmp" "$2"
}
# Nothing installed in the chroot starts a service.
printf '#!/bin/sh\nexit 101\n' | put 755 "$root/usr/sbin/policy-rc.d"
put 644 "$root/etc/resolv.conf" </etc/resolv.conf

# The processes of this run inside the chroot carry its mark in their
# environment; another run's, in the same chroot, are left alone.
mark=VELITAR_CHROOT_RUN=$$.$(date +%s%N)
ours() {
  [ "$(readlink "/proc/$1/root" 2>/dev/null)" = "$root" ] &&
    grep -qzx "$mark" "/proc/$1/environ" 2>/dev/null
}

mounted=()
cleanup() {
  local status=$? pid i
  trap - EXIT INT TERM HUP
  # Whatever this run started that still runs inside the chroot is stopped
  # first, or the mounts would stay busy.
  for signal in TERM KILL; do
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
      ours "$pid" && kill "-$signal" "$pid" 2>/dev/null
    done
    sleep 0.2
  done
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount --lazy "${mounted[i]}" || echo "could not unmount ${mounted[i]}" >&2
  done
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP
mount_in() { # mount_in <target inside the chroot> <mount arguments...>
  mkdir -p "$root$1"
  mount "${@:2}" "$root$1"
  mounted+=("$root$1")
}
# The chroot's root is a mount point of its own, as a system's root is: a
# test that makes itself a private mount namespace (unshare) needs one.
mount --bind "$root" "$root"
mounted+=("$root")
mount_in /proc -t proc proc
mount_in /sys -t sysfs sysfs
mount_in /dev --bind /dev
mount_in /dev/pts --bind /dev/pts
mount_in /dev/shm --bind /dev/shm

# A copy of the checkout as it is now. The build directories (build*/) of an
# earlier run are kept, so that a rerun builds only what changed: a file whose
# content is unchanged keeps the time stamp of its earlier copy, any other
# file is newer than every earlier build.
copy_in=${VELITAR_TRIXIE_CHECKOUT:-/root/velitar}
copy=$root$copy_in
rm -rf "$copy.new"
mkdir -p "$copy" "$copy.new"
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' f; do if [ -e "$f" ]; then printf '%s\0' "$f"; fi; done |
  tar --null -T - -cf - | tar -xmf - -C "$copy.new"
(cd "$copy.new" && find . -type f -print0) | while IFS= read -r -d '' f; do
  if cmp -s "$copy.new/$f" "$copy/$f"; then touch -r "$copy/$f" "$copy.new/$f"; fi
done
find "$copy" -mindepth 1 -maxdepth 1 -name 'build*' -exec mv -t "$copy.new" {} +
rm -rf "$copy"
mv "$copy.new" "$copy"

inside() {
  chroot "$root" /usr/bin/env -i "$mark" HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c "cd $copy_in && $1"
}

if (($#)); then
  inside "$(printf '%q ' "$@")"
  exit
fi

echo "== bash scripts/test.sh on Debian 13 ($(cat "$root/etc/debian_version"))"
tested=$(seconds)
status=0
inside "bash scripts/test.sh" || status=$?
if [ "$status" -ne 0 ]; then
  echo "FAIL bash scripts/test.sh on Debian 13 ended with status $status"
  exit "$status"
fi
echo "ok   bash scripts/test.sh on Debian 13 in $(($(seconds) - tested)) s; all done in $(($(seconds) - began)) s"

#!/usr/bin/env bash
# Runs ./scripts/test.sh in a minimal Debian 13 (trixie) chroot, on a clone of this checkout's
# committed state, so that a Debian 12 machine shows what a newcomer on Debian 13 would meet.
# For developers; .ci/run stays on the machine's own release.
#
#   scripts/test-debian13.sh           a fresh copy of the minimal system, nothing installed
#   scripts/test-debian13.sh --riusa   the system and build of the previous run (quicker)
#   scripts/test-debian13.sh --shell   a shell in the chroot (same mounts), after the copy
#
# The minimal system is made once with debootstrap in $VELTRIKA_DEBIAN13 (by default .debian13
# beside the checkout) and kept there as base/; each run works in sistema/. Needs root.
set -euo pipefail
cd "$(dirname "$0")/.."
CHECKOUT="$PWD"
CARTELLA="${VELTRIKA_DEBIAN13:-$(dirname "$CHECKOUT")/.debian13}"
MIRROR="${VELTRIKA_DEBIAN13_MIRROR:-http://deb.debian.org/debian}"
MODO="${1:-}"

if [ "$(id -u)" -ne 0 ]; then
  exec sudo VELTRIKA_DEBIAN13="$CARTELLA" VELTRIKA_DEBIAN13_MIRROR="$MIRROR" "$0" "$@"
fi

if ! command -v debootstrap >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi

BASE="$CARTELLA/base"
SISTEMA="$CARTELLA/sistema"
mkdir -p "$CARTELLA"
if [ ! -e "$BASE/.completo" ]; then
  rm -rf "$BASE"
  debootstrap --variant=minbase trixie "$BASE" "$MIRROR"
  # No service starts inside the chroot while packages are installed.
  printf '#!/bin/sh\nexit 101\n' >"$BASE/usr/sbin/policy-rc.d"
  chmod 755 "$BASE/usr/sbin/policy-rc.d"
  touch "$BASE/.completo"
fi

smonta() {
  # Deepest first; a busy mount is detached lazily rather than left behind.
  for m in $(findmnt -rn -o TARGET | grep -F "$SISTEMA/" | sort -r); do
    umount "$m" 2>/dev/null || umount -l "$m"
  done
}
smonta
if [ "$MODO" != "--riusa" ] || [ ! -d "$SISTEMA" ]; then
  rm -rf --one-file-system "$SISTEMA"
  cp -a "$BASE" "$SISTEMA"
fi

trap smonta EXIT
mount -t proc proc "$SISTEMA/proc"
mount -t sysfs sysfs "$SISTEMA/sys"
# The tests open pseudo-terminals, so /dev/pts comes with /dev; rslave keeps the host's /dev
# safe from whatever happens below it in the chroot.
mount --rbind /dev "$SISTEMA/dev"
mount --make-rslave "$SISTEMA/dev"
mount -t tmpfs tmpfs "$SISTEMA/tmp"
cp /etc/resolv.conf "$SISTEMA/etc/resolv.conf"

# The clone follows the checkout's HEAD; with --riusa its build/ is kept and only rebuilt.
CLONE="$SISTEMA/root/veltrika"
if [ ! -d "$CLONE/.git" ]; then
  git clone -q --no-hardlinks "$CHECKOUT" "$CLONE"
fi
git -C "$CLONE" fetch -q "$CHECKOUT" HEAD
git -C "$CLONE" checkout -q -f FETCH_HEAD
git -C "$CLONE" clean -q -fdx -e build
if [ -n "$(git -C "$CHECKOUT" status --porcelain --untracked-files=no)" ]; then
  echo "Attenzione: le modifiche non salvate con commit non sono nel clone." >&2
fi

ENV=(env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}"
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
if [ "$MODO" = "--shell" ]; then
  chroot "$SISTEMA" "${ENV[@]}" /bin/bash -c 'cd /root/veltrika && exec bash -i'
  exit
fi
inizio=$(date +%s)
stato=0
chroot "$SISTEMA" "${ENV[@]}" /bin/bash -c 'cd /root/veltrika && ./scripts/test.sh' || stato=$?
echo "Debian 13: ./scripts/test.sh è finito con $stato in $(( $(date +%s) - inizio )) s." >&2
exit "$stato"

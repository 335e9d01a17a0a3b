#!/usr/bin/env bash
# Runs `make test` as a newcomer would on a fresh Debian 12: a minimal root made by
# debootstrap, with only make added, this checkout's main cloned into it. Not part of
# `make test`; run it as root after changing what the build installs.
# Usage: scripts/test-fresh-debian.sh ROOT_DIR [MIRROR]
# A certificate authority of this machine's own (/usr/local/share/ca-certificates) is given
# to the root too, for npm through NODE_EXTRA_CA_CERTS.
set -euo pipefail
root=$(realpath -m "$1")
mirror=${2:-http://deb.debian.org/debian}
here=$(cd "$(dirname "$0")/.." && pwd)

if [[ $(id -u) -ne 0 ]] || ! command -v debootstrap >/dev/null; then
  echo "Нужны права root и debootstrap / needs root and debootstrap" >&2
  exit 1
fi
if [[ -e $root ]]; then
  echo "$root уже существует / already exists" >&2
  exit 1
fi

debootstrap --variant=minbase bookworm "$root" "$mirror"
cleanup() {
  for m in tmp dev proc; do
    umount -R "$root/$m" 2>/dev/null || true
  done
}
trap cleanup EXIT
mount -t proc proc "$root/proc"
mount --rbind /dev "$root/dev"
mount -t tmpfs -o size=16g tmpfs "$root/tmp"
cp /etc/resolv.conf "$root/etc/resolv.conf"
extra_ca=()
if compgen -G '/usr/local/share/ca-certificates/*.crt' >/dev/null; then
  mkdir -p "$root/usr/local/share/ca-certificates"
  cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/"
  cat /usr/local/share/ca-certificates/*.crt >"$root/usr/local/share/extra-ca.pem"
  extra_ca=(NODE_EXTRA_CA_CERTS=/usr/local/share/extra-ca.pem)
fi
git clone -q "$here" "$root/root/izolcalc"

in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "${extra_ca[@]}" "$@"
}
in_root bash -c 'apt-get update -qq && apt-get install -y -qq make >/dev/null'
start=$(date +%s)
in_root bash -c 'cd /root/izolcalc && make test'
echo "make test в свежем корне / in the fresh root: $(($(date +%s) - start)) s"

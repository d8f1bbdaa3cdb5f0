#!/usr/bin/env bash
# Installs the Debian package with apt into a fresh Debian 12 made with debootstrap, as a user
# with a bare system would, and runs the installed programs there. Needs root, debootstrap and a
# Debian mirror; takes some minutes and a few hundred megabytes.
#   bash scripts/check_deb_in_chroot.sh PACKAGE.deb [CHROOT_FOLDER]
set -euo pipefail
package="$(realpath "$1")"
root="${2:-$(mktemp -d)}"
examples="$(cd "$(dirname "$0")/../examples" && pwd)"
# The mirror apt on this machine uses, so that the chroot needs no other.
mirror="$(apt-get indextargets --format '$(REPO_URI)' 'Created-By: Packages' 2>/dev/null |
          grep -m1 '/debian/$' || true)"
mirror="${mirror:-$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null |
                    head -n1)}"

if [ ! -x "$root/usr/bin/apt-get" ]; then
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail -5 "$root.debootstrap.log"; exit 1; }
fi
mkdir -p "$root/check"
cp "$package" "$examples/seam.mdl" "$root/check/"
cleanup() { umount "$root/proc" 2>/dev/null || true; }
trap cleanup EXIT
mount -t proc proc "$root/proc"
in_root() { chroot "$root" env DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 "$@"; }
in_root apt-get update -q >/dev/null
in_root apt-get install -y -q --no-install-recommends "./check/$(basename "$package")" \
  | tail -n 3
in_root dpkg -s mirrorknit | grep -E '^(Status|Version):'
in_root mirrorknit-cli --version
in_root sh -c 'cd /check && mirrorknit-cli dock seam.mdl -o whole.mdl'
in_root env QT_QPA_PLATFORM=offscreen mirrorknit --version
echo "installed and ran in a fresh Debian 12"

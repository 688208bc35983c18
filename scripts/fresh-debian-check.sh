#!/usr/bin/env bash
# fresh-debian-check.sh [COMMAND]
# Runs COMMAND (default: ./scripts/test.sh) as root inside a bare Debian 12
# root made with debootstrap, on a copy of the committed tree (git archive
# HEAD). It shows whether the README's commands really install everything a
# fresh machine lacks: a package this machine happens to have proves nothing.
# The bare root is made once and kept in $FRESH_ROOT (default
# /tmp/fresh-debian); each run starts from a clean copy of it.
set -euo pipefail
base=${FRESH_ROOT:-/tmp/fresh-debian}
cmd=${1:-./scripts/test.sh}
top=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
[ "$(id -u)" -eq 0 ] || { echo "run as root" >&2; exit 2; }
"$top/scripts/bare-debian-root.sh" "$base"
root="$base/run"
cleanup() { umount -R "$root/proc" "$root/dev" 2>/dev/null || true; }
cleanup
rm -rf "$root"; cp -a "$base/bare" "$root"
cp /etc/resolv.conf "$root/etc/" 2>/dev/null || true
mkdir -p "$root/srv/project"
git -C "$top" archive HEAD | tar -x -C "$root/srv/project"
mount --bind /proc "$root/proc"
# /dev with its sub-mounts (/dev/shm for PostgreSQL's shared memory).
mount --rbind /dev "$root/dev"; mount --make-rslave "$root/dev"
trap cleanup EXIT
echo "fresh Debian 12 root: $root; running: $cmd" >&2
chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  HOME=/root LANG=C.UTF-8 /bin/bash -c "cd /srv/project && $cmd"

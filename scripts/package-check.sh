#!/usr/bin/env bash
# package-check.sh DEB SAMPLES
# Installs the Debian package DEB with apt into a clean copy of the bare
# Debian 12 root that scripts/fresh-debian-check.sh keeps ($FRESH_ROOT/bare,
# default /tmp/fresh-debian; made with debootstrap when missing), a root
# without build tools, with --no-install-recommends so that the package's
# Depends alone must bring in what the programs need. Then, as an ordinary
# user of that root, with the collector files of the folder SAMPLES:
#   - orvanectl --version prints the package's version;
#   - orvanectl --data DIR import imports every file, sql counts them;
#   - the window program starts offscreen and is still running after a
#     few seconds, with its settings file and PCDB made in ~/.config/Orvane/
#     (for root too) and nothing in its program folder /usr/lib/orvane;
#   - the scheduled import of the examples runs on that settings file, and
#     the lease mail of the examples runs (nothing due: no mail, exit 0).
# Needs root.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: package-check.sh DEB SAMPLES" >&2; exit 2; }
[ -f "$1" ] || { echo "no package file: $1" >&2; exit 2; }
[ -d "$2" ] || { echo "no folder of collector files: $2" >&2; exit 2; }
deb=$(realpath "$1")
samples=$(realpath "$2")
base=${FRESH_ROOT:-/tmp/fresh-debian}
top=$(cd "$(dirname "$0")/.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "run as root" >&2; exit 2; }
files=$(find "$samples" -maxdepth 1 -name '*.csv' | wc -l)
[ "$files" -gt 0 ] || { echo "no collector files in $2" >&2; exit 2; }
version=$(dpkg-deb -f "$deb" Version)

"$top/scripts/bare-debian-root.sh" "$base"
root="$base/pkgroot"
cleanup() { umount -R "$root/proc" "$root/dev" 2>/dev/null || true; }
cleanup
rm -rf "$root"; cp -a "$base/bare" "$root"
cp /etc/resolv.conf "$root/etc/" 2>/dev/null || true
mkdir -p "$root/srv"
cp "$deb" "$root/srv/"
cp -r "$samples" "$root/srv/invaro"
mount --bind /proc "$root/proc"
mount --rbind /dev "$root/dev"; mount --make-rslave "$root/dev"
trap cleanup EXIT

in_root() {
  chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive /bin/bash -c "$1"
}
# As the user "clerk", whose home is /home/clerk.
as_user() {
  chroot --userspec=clerk:clerk "$root" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin \
    HOME=/home/clerk USER=clerk LANG=C.UTF-8 /bin/bash -c "cd && $1"
}
fail() { echo "package check: $*" >&2; exit 1; }

echo "package check: installing $(basename "$deb") into $root" >&2
in_root "apt-get update -qq && apt-get install -y -qq --no-install-recommends /srv/$(basename "$deb") >/dev/null" \
  || fail "apt could not install the package"
in_root "useradd --create-home clerk"

out=$(as_user "orvanectl --version") || fail "orvanectl --version failed"
[ "$out" = "orvanectl $version" ] || fail "orvanectl --version printed '$out', not 'orvanectl $version'"
out=$(as_user "orvane --version") || fail "orvane --version failed"
[ "$out" = "Orvane $version" ] || fail "orvane --version printed '$out'"

as_user "orvanectl --data ledger import /srv/invaro" || fail "the import with --data failed"
count=$(as_user "orvanectl --data ledger sql 'SELECT COUNT(*) FROM PC' | tail -n 1")
[ "$count" = "$files" ] || fail "$count PCs imported from $files files"

as_user "QT_QPA_PLATFORM=offscreen timeout 10 orvane" && rc=0 || rc=$?
[ "$rc" -eq 124 ] || fail "Orvane ended before 10 s (exit $rc)"
config="$root/home/clerk/.config/Orvane"
[ -f "$config/Orvane.INI" ] || fail "no settings file in ~/.config/Orvane"
[ -f "$config/PCDB/Orvane.db" ] || fail "no store in ~/.config/Orvane/PCDB"
# Root could write into the program folder, but leaves it to the package too.
in_root "orvanectl check" || fail "orvanectl check as root failed"
[ -f "$root/root/.config/Orvane/PCDB/Orvane.db" ] || fail "no store in root's ~/.config/Orvane/PCDB"
left=$(find "$root/usr/lib/orvane" -name PCDB -o -name '*.INI')
[ -z "$left" ] || fail "settings or store in the program folder: $left"

# The scheduled jobs of the examples, as their units run them.
as_user "orvanectl --ini ~/.config/Orvane/Orvane.INI import --lock-wait 600 /srv/invaro" \
  || fail "the scheduled import failed"
count=$(as_user "orvanectl sql 'SELECT COUNT(*) FROM PC' | tail -n 1")
[ "$count" = "$files" ] || fail "the scheduled import left $count PCs, not $files"
as_user "ORVANE_MAIL_TO=clerk /usr/share/doc/orvane/examples/orvane-leases-mail --ini ~/.config/Orvane/Orvane.INI" \
  || fail "the lease mail failed"
echo "package check: $(basename "$deb") installs and runs" >&2

#!/usr/bin/env bash
# bare-debian-root.sh BASE
# Makes BASE/bare, a bare Debian 12 root (debootstrap --variant=minbase from
# the Debian mirror this machine's apt already uses), unless it is there
# already. scripts/fresh-debian-check.sh and scripts/package-check.sh start
# each run from a clean copy of it. Needs root.
set -euo pipefail
base=$1
[ -f "$base/bare/.ready" ] && exit 0
export DEBIAN_FRONTEND=noninteractive
command -v debootstrap >/dev/null || { apt-get update -qq && apt-get install -y -qq debootstrap >/dev/null; }

mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list 2>/dev/null \
  | grep -o -E '^(URIs:|deb) +[a-z]+://[^ ]+/debian\b' | grep -v -- '-security' | head -n 1 | awk '{print $2}' || true)
[ -n "$mirror" ] || { echo "no Debian mirror found in the apt sources" >&2; exit 2; }

rm -rf "$base/bare"; mkdir -p "$base"
debootstrap --variant=minbase bookworm "$base/bare" "$mirror" > "$base/debootstrap.log" 2>&1 \
  || { tail -n 20 "$base/debootstrap.log" >&2; exit 2; }
touch "$base/bare/.ready"

#!/usr/bin/env bash
# Runs the README's start command offscreen for a while and checks that
# the program started: still running at the end, with its embedded store
# and settings file made beside it.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin="${ORVANE_BUILD_DIR:-$top/build}/bin"
seconds=${1:-30}
rm -rf "$bin/PCDB" "$bin/Orvane.INI"
QT_QPA_PLATFORM=offscreen timeout "$seconds" "$top/scripts/run.sh"
rc=$?
[ "$rc" -eq 124 ] || { echo "Orvane ended before $seconds s (exit $rc)" >&2; exit 1; }
[ -f "$bin/PCDB/Orvane.db" ] || { echo "no store in $bin/PCDB" >&2; exit 1; }
[ -f "$bin/Orvane.INI" ] || { echo "no settings file $bin/Orvane.INI" >&2; exit 1; }
echo "Orvane started on its embedded store" >&2

#!/usr/bin/env bash
# Sets up, builds and starts Orvane on its embedded default store (the
# "PCDB" folder beside the program in build/bin).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
exec "${ORVANE_BUILD_DIR:-$top/build}/bin/Orvane" "$@"

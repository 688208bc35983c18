#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite (CTest), on SQLite and on a
# throwaway PostgreSQL server that this script starts and stops itself.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
build="${ORVANE_BUILD_DIR:-$top/build}"

pgdir=$(mktemp -d /tmp/orvane-pg.XXXXXX)
port=${ORVANE_TEST_PG_PORT:-54329}
while (echo >/dev/tcp/127.0.0.1/$port) 2>/dev/null; do port=$((port + 1)); done
trap '"$top/scripts/pg-test-server.sh" stop "$pgdir"' EXIT
"$top/scripts/pg-test-server.sh" start "$pgdir" "$port"

export ORVANE_TEST_PG_HOST=127.0.0.1 ORVANE_TEST_PG_PORT=$port ORVANE_TEST_PG_USER=postgres
export ORVANE_TEST_PG_REQUIRED=1
cd "$build"
ctest --output-on-failure -j2 "$@"

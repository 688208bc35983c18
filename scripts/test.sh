#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite (CTest), on SQLite and on a
# throwaway PostgreSQL server that this script starts and stops itself.
#   scripts/test.sh [CTEST ARGS...]
#   scripts/test.sh --sanitize [CTEST ARGS...]
# --sanitize builds the window-free tests (every test not labelled
# "windows", nor "programs": those run the programs themselves) in a tree of
# their own, build-sanitize, with AddressSanitizer
# and UndefinedBehaviorSanitizer (g++), and runs them; a memory error,
# undefined behaviour or a leak fails the test. Leaks inside Qt and the
# system libraries are suppressed by tests/sanitize/lsan.supp.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
sanitize=0
if [ "${1:-}" = "--sanitize" ]; then
  sanitize=1
  shift
fi
"$top/scripts/setup.sh"
ctest_args=()
if [ $sanitize -eq 1 ]; then
  build="${ORVANE_SANITIZE_BUILD_DIR:-$top/build-sanitize}"
  if [ ! -f "$build/build.ninja" ]; then
    flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
  fi
  cmake "$build" >/dev/null
  # Each test is built by the target of its name.
  mapfile -t tests < <(cd "$build" && ctest -N -LE 'windows|programs' | sed -n 's/^ *Test *#[0-9]*: *//p')
  cmake --build "$build" --target "${tests[@]}"
  ctest_args=(-LE 'windows|programs')
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
  export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$top/tests/sanitize/lsan.supp:print_suppressions=0}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
else
  "$top/scripts/build.sh"
  build="${ORVANE_BUILD_DIR:-$top/build}"
fi

pgdir=$(mktemp -d /tmp/orvane-pg.XXXXXX)
port=${ORVANE_TEST_PG_PORT:-54329}
while (echo >/dev/tcp/127.0.0.1/$port) 2>/dev/null; do port=$((port + 1)); done
trap '"$top/scripts/pg-test-server.sh" stop "$pgdir"' EXIT
"$top/scripts/pg-test-server.sh" start "$pgdir" "$port"

export ORVANE_TEST_PG_HOST=127.0.0.1 ORVANE_TEST_PG_PORT=$port ORVANE_TEST_PG_USER=postgres
export ORVANE_TEST_PG_REQUIRED=1
cd "$build"
ctest --output-on-failure -j2 "${ctest_args[@]}" "$@"

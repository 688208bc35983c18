#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in a build folder of their own, and runs each
# for SECONDS (default 60), one after the other, at the lowest priority.
#   scripts/fuzz.sh [SECONDS] [TARGET...]      # targets: all unless named
# Each run starts from the seed corpus tests/fuzz/TARGET/ and the corpus the
# earlier runs grew in the build folder (corpus/TARGET/); libFuzzer's own
# output is shown, ending in its DONE line with cov:. A finding leaves its
# reproducer (crash-*, leak-*, timeout-*, oom-*) in tests/fuzz/TARGET/,
# where the replay tests pick it up, and makes the script exit non-zero.
# Leaks inside Qt and the system libraries are suppressed as in the
# sanitizer tests (tests/sanitize/lsan.supp). Every run is logged in the
# build folder's runs.log (target, seconds, executions, coverage).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(collector dump settings dates cp932 sqltext freetext)
build="${ORVANE_FUZZ_BUILD_DIR:-$top/build-fuzz}"

# clang, its sanitizer and libFuzzer runtime, and llvm-symbolizer for the
# stack traces of a finding.
"$top/scripts/setup.sh" clang libclang-rt-14-dev llvm

if [ ! -f "$build/build.ninja" ]; then
  flags="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DORVANE_FUZZ=ON \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags"
fi
cmake --build "$build" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$top/tests/sanitize/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for t in "${targets[@]}"; do
  seeds="$top/tests/fuzz/$t"
  work="$build/corpus/$t"
  mkdir -p "$work"
  dict=()
  [ -f "$top/tests/fuzz/$t.dict" ] && dict=(-dict="$top/tests/fuzz/$t.dict")
  log="$build/logs/$t-$(date +%Y%m%d-%H%M%S).log"
  mkdir -p "$build/logs"
  echo "== fuzz_$t for $seconds s" >&2
  rc=0
  nice -n 19 "$build/tests/fuzz_$t" -max_total_time="$seconds" -timeout=60 -report_slow_units=60 -rss_limit_mb=2048 \
    -artifact_prefix="$seeds/" -print_final_stats=1 "${dict[@]}" "$work" "$seeds" 2>&1 \
    | tee "$log" >&2 || rc=$?
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  time_s=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)
  printf '%s\t%s\t%s s\t%s runs\t%s\trc=%s\n' "$(date -Is)" "$t" "${time_s:-?}" "${runs:-?}" \
    "${done_line:-no DONE line}" "$rc" >>"$build/runs.log"
  if [ "$rc" -ne 0 ]; then
    echo "fuzz_$t: finding, reproducer in $seeds/ (log $log)" >&2
    status=1
  fi
done
exit $status

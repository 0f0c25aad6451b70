#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the normal
# build, the sanitizer build (AddressSanitizer and UndefinedBehaviorSanitizer)
# of the core and terminal tests, and a short run of every fuzz target
# (TORVAE_FUZZ_SECONDS each, 60 by default). Fails when anything fails.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup-deps
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0

run_tests() {   # build directory
  ctest --test-dir "$1" --output-on-failure -j"$jobs" 2>&1 | tee "$1/ctest.log" || status=1
}

echo "== Build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
run_tests build

echo "== Sanitizer build and tests"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORVAE_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
run_tests build-sanitize

echo "== Fuzzing"
fuzz/run "${TORVAE_FUZZ_SECONDS:-60}" "$jobs" | tee build/fuzz.log || status=1

echo "== Summary"
for b in build build-sanitize; do
  echo "$b: $(grep -E 'tests passed|tests failed out of' "$b/ctest.log" | tail -1)"
done
grep -E ' runs ' build/fuzz.log || echo "fuzzing: no results"
[ "$status" -eq 0 ] && echo "All passed." || echo "FAILED"
exit "$status"

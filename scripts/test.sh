#!/usr/bin/env bash
# Checks the sources' layout with clang-format, then builds and runs the whole test suite: the
# normal build, then the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer,
# then the engine tests (the threads of the long jobs, the folder search and the network
# client) with ThreadSanitizer, then a short run of every fuzz target. Every build treats a
# compiler warning as an error.
# Widget tests run on Qt's offscreen platform, so no display is needed. Every build states the
# options it needs (a folder configured by the run script is reused as it is otherwise), and
# ctest fails when it finds no test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== Layout (clang-format with the project's .clang-format)"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
else
  find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run --Werror
fi

echo "== Build and test (release)"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPAGELATHE_GUI=ON \
  -DPAGELATHE_TESTS=ON -DPAGELATHE_WERROR=ON >/dev/null
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure --no-tests=error -j "$jobs"

echo "== Build and test (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPAGELATHE_SANITIZE=ON \
  -DPAGELATHE_GUI=ON -DPAGELATHE_TESTS=ON -DPAGELATHE_WERROR=ON >/dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan --output-on-failure --no-tests=error -j "$jobs"

echo "== Build and test the engine (ThreadSanitizer)"
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGELATHE_TSAN=ON \
  -DPAGELATHE_GUI=OFF -DPAGELATHE_TESTS=ON -DPAGELATHE_WERROR=ON >/dev/null
cmake --build build/tsan -j "$jobs"
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build/tsan --output-on-failure --no-tests=error \
  -j "$jobs"

echo "== Fuzz targets (libFuzzer, a short run each over its seeds)"
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGELATHE_FUZZ=ON \
  -DPAGELATHE_WERROR=ON >/dev/null
cmake --build build/fuzz -j "$jobs"
shopt -s nullglob
fuzzers=(build/fuzz/fuzz/fuzz_*)
for fuzzer in "${fuzzers[@]}"; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  seeds="fuzz/corpus/$name"
  work=$(mktemp -d)
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/
  echo "-- $name"
  "$fuzzer" -max_total_time=10 -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 "$work" 2>&1 | tail -n 2
  rm -rf "$work"
done
echo "${#fuzzers[@]} fuzz targets ran clean"

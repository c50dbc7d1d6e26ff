#!/usr/bin/env bash
# Checks the sources' layout with clang-format, then builds and runs the whole test suite: the
# normal build; the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer, in a
# clang build that also makes every fuzz target; a short run of every fuzz target over its
# seeds; and the engine tests (the threads of the long jobs, the folder search and the network
# client) with ThreadSanitizer. Every build treats a compiler warning as an error and is
# configured by scripts/configure.sh, as the run script's is. Each stage ends with its wall time
# and the processor time it took (user + system), and the script ends with a table of them.
# Widget tests run on Qt's offscreen platform, so no display is needed; ctest fails when it
# finds no test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
# Many tests wait on sockets, timers and child processes, so ctest runs twice as many as there
# are processors; each test waits for its conditions with deadlines made for a loaded machine.
test_jobs=$((2 * jobs))
# Each fuzz target first runs every seed, then mutates them for the rest of its time (wall
# time: a loaded machine gives it fewer runs). PAGELATHE_FUZZ_SECONDS=60 fuzzes longer.
fuzz_seconds=${PAGELATHE_FUZZ_SECONDS:-5}
export QT_QPA_PLATFORM=offscreen

# The processor time of the script's finished children so far, in seconds (user + system),
# into `cpu_now`. `times` runs in this shell itself: in a subshell it would see only its own.
cpu_file=$(mktemp)
trap 'rm -f "$cpu_file"' EXIT
cpu_now=0
read_cpu() {
  times >"$cpu_file"
  cpu_now=$(awk 'NR == 2 {
    total = 0
    for (i = 1; i <= 2; ++i) { split($i, part, "m"); total += part[1] * 60 + part[2] }
    printf "%.1f", total }' "$cpu_file")
}

summary=()
stage_name=""
stage_start=0
stage_cpu=0
begin() {
  stage_name=$1
  stage_start=$EPOCHREALTIME
  read_cpu
  stage_cpu=$cpu_now
  echo "== $stage_name (load $(cut -d' ' -f1-3 /proc/loadavg))"
}
end() {
  local wall cpu line
  wall=$(awk -v a="$stage_start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.0f", b - a }')
  read_cpu
  cpu=$(awk -v a="$stage_cpu" -v b="$cpu_now" 'BEGIN { printf "%.0f", b - a }')
  line=$(printf '%-52s %5d s wall %6d s CPU' "$stage_name" "$wall" "$cpu")
  echo "-- $line"
  summary+=("$line")
}
script_start=$EPOCHREALTIME

begin "Layout (clang-format with the project's .clang-format)"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z '*.cpp' '*.h' | xargs -0 -P "$jobs" -n 50 clang-format --dry-run --Werror
else
  find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 -P "$jobs" -n 50 clang-format --dry-run --Werror
fi
end

begin "Build (release)"
bash scripts/configure.sh release
cmake --build build/release -j "$jobs"
end
begin "Test (release)"
ctest --test-dir build/release --output-on-failure --no-tests=error -j "$test_jobs"
end

begin "Build (AddressSanitizer + UndefinedBehaviorSanitizer, fuzz targets)"
bash scripts/configure.sh sanitize
cmake --build build/sanitize -j "$jobs"
end
begin "Test (AddressSanitizer + UndefinedBehaviorSanitizer)"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/sanitize --output-on-failure --no-tests=error -j "$test_jobs"
end

begin "Fuzz targets (libFuzzer, ${fuzz_seconds} s each over its seeds, $jobs at a time)"
shopt -s nullglob
fuzzers=()
for fuzzer in build/sanitize/fuzz/fuzz_*; do
  [ -f "$fuzzer" ] && [ -x "$fuzzer" ] && fuzzers+=("$fuzzer")
done
if ((${#fuzzers[@]} == 0)); then
  echo "no fuzz target was built" >&2
  exit 1
fi
fuzz_logs=$(mktemp -d)
# One target: a copy of its seeds to work in, its output kept apart and shown when it fails.
fuzz_one() {
  local fuzzer=$1 name work status=0
  name=$(basename "$fuzzer")
  work=$(mktemp -d)
  [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name"/. "$work"/
  "$fuzzer" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=0 "$work" >"$fuzz_logs/$name.log" 2>&1 || status=$?
  rm -rf "$work"
  if ((status != 0)); then
    echo "-- $name FAILED (exit $status):"
    cat "$fuzz_logs/$name.log"
    return 1
  fi
  echo "-- $name: $(tail -n 1 "$fuzz_logs/$name.log")"
}
export -f fuzz_one
export fuzz_seconds fuzz_logs
fuzz_status=0
printf '%s\0' "${fuzzers[@]}" | xargs -0 -P "$jobs" -n 1 bash -c 'fuzz_one "$1"' _ || fuzz_status=$?
rm -rf "$fuzz_logs"
if ((fuzz_status != 0)); then
  echo "a fuzz target failed" >&2
  exit 1
fi
echo "${#fuzzers[@]} fuzz targets ran clean"
end

begin "Build the engine (ThreadSanitizer)"
bash scripts/configure.sh tsan
cmake --build build/tsan -j "$jobs"
end
begin "Test the engine (ThreadSanitizer)"
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build/tsan --output-on-failure --no-tests=error \
  -j "$test_jobs"
end

echo "== Times (wall, and processor time: user + system)"
printf '%s\n' "${summary[@]}"
total_wall=$(awk -v a="$script_start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.0f", b - a }')
read_cpu
printf '%-52s %5d s wall %6d s CPU (%dm%02ds)\n' "Total" "$total_wall" "${cpu_now%.*}" \
  $((total_wall / 60)) $((total_wall % 60))

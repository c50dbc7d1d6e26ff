#!/usr/bin/env bash
# Counts the words of one large text two ways, as whole processes: the keyword engine
# (bench_keywords --count) and the usual command line, tr -s ' ' '\n' | sort -f | uniq -ic.
# Usage: bench/compare_keywords.sh BUILD_DIR [MEGABYTES]   (BUILD_DIR built with PAGELATHE_BENCH)
set -euo pipefail
build=${1:?build folder with bench/bench_keywords}
megabytes=${2:-100}
program="$build/bench/bench_keywords"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$program" --generate "$work/text.txt" "$megabytes"
echo "text: $(du -m "$work/text.txt" | cut -f1) MB"
# Elapsed seconds, CPU seconds (user + system, all processes of the pipeline), peak kB.
measure() {
  /usr/bin/time -f '%e %U %S %M' "$@" 2>&1 >/dev/null | tail -n 1 |
    awk '{ printf "%s s elapsed, %.2f s CPU, peak %s kB", $1, $2 + $3, $4 }'
}
echo "bench_keywords --count:   $(measure "$program" --count "$work/text.txt")"
echo "tr | sort -f | uniq -ic:  $(measure bash -c "tr -s ' ' '\n' < '$work/text.txt' | sort -f | uniq -ic")"
echo "(the peak of the pipeline is that of its largest process)"

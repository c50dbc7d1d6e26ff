#!/usr/bin/env bash
# Whole-process comparison of a batch conversion from HTML to text: the converter's batch
# (one process, every page of a folder) against html2text run once per page, as a shell user
# would, over the same copies of the same pages.
#
#   bench/bench_converter_compare.sh BUILD_DIR PAGES_FOLDER [COUNT]
#
# BUILD_DIR: a build made with -DCMAKE_BUILD_TYPE=Release -DPAGELATHE_BENCH=ON.
# PAGES_FOLDER: searched at any depth for *.htm and *.html files of 1 kB or more; the first
# COUNT of them (default 3000, in name order) are copied into one flat folder.
set -euo pipefail

if [ $# -lt 2 ]; then
  sed -n '2,11p' "$0"
  exit 2
fi
build=$1
source=$2
count=${3:-3000}
bench="$build/bench/bench_converter"
[ -x "$bench" ] || { echo "no $bench: build with -DPAGELATHE_BENCH=ON" >&2; exit 1; }
command -v html2text >/dev/null || { echo "html2text is missing (scripts/setup.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/pages" "$work/html2text"
i=0
while IFS= read -r -d '' page; do
  cp "$page" "$work/pages/page$i.html"
  i=$((i + 1))
done < <(find "$source" -type f \( -name '*.htm' -o -name '*.html' \) -size +1k -print0 |
           sort -z | head -z -n "$count")
bytes=$(cat "$work/pages"/* | wc -c)
echo "pages: $i, $bytes bytes"

rate() { awk -v b="$bytes" -v s="$1" -v n="$i" \
  'BEGIN { printf "%.2f s, %.1f MB/s, %.0f pages/s\n", s, b / s / 1e6, n / s }'; }

# The converter: best wall-clock time of three whole batches, from the benchmark's report
# (its third column is the real time of one batch, in milliseconds).
seconds=$(PAGELATHE_BENCH_PAGES="$work/pages" "$bench" --benchmark_filter='BM_ConvertFolder/0' \
            --benchmark_repetitions=3 --benchmark_format=csv 2>/dev/null |
          awk -F, '/^"BM_ConvertFolder\/0\/real_time",/ { print $3 }' | sort -g | head -1)
echo -n "converter batch (one process):   "
rate "$(awk -v ms="$seconds" 'BEGIN { print ms / 1000 }')"

# html2text: one process per page.
start=$(date +%s.%N)
for page in "$work/pages"/*; do
  html2text -nobs -o "$work/html2text/${page##*/}.txt" "$page"
done
end=$(date +%s.%N)
echo -n "html2text (one process a page): "
rate "$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')"

# html2text once over all pages in one stream: its conversion alone, without process starts.
start=$(date +%s.%N)
cat "$work/pages"/* | html2text -nobs > "$work/all.txt"
end=$(date +%s.%N)
echo -n "html2text (one process, all):   "
rate "$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')"

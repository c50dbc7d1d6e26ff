#!/usr/bin/env bash
# The converter's batch against an earlier build of itself, on the big pages of
# bench/compare_cli.sh: the outputs must be the same bytes, and the peak resident sizes
# (/usr/bin/time -v) and times are shown side by side (one hyperfine -N run).
#
#   bench/compare_convert_baseline.sh [BASE_COMMIT] [WORK_FOLDER]
#
# BASE_COMMIT (default a7dd3fb, the converter that read each file whole) is built from
# `git archive` into WORK_FOLDER/base (kept for reuse); this tree's pagelathe is built in
# build/release. WORK_FOLDER (default /tmp/pagelathe-bench) is compare_cli.sh's: its page and
# tree are made there first when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
base_commit=${1:-a7dd3fb}
work=${2:-/tmp/pagelathe-bench}

[ -s "$work/page.html" ] || { echo "no $work/page.html: run bench/compare_cli.sh once" >&2; exit 1; }
source bench/common.sh
prepare_pagelathe
new=$pagelathe
if [ ! -x "$work/base/build/bin/pagelathe" ]; then
  rm -rf "$work/base" && mkdir -p "$work/base/src"
  git archive "$base_commit" | tar -x -C "$work/base/src"
  cmake -S "$work/base/src" -B "$work/base/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DPAGELATHE_GUI=OFF -DPAGELATHE_TESTS=OFF >/dev/null
  cmake --build "$work/base/build" --target pagelathe >/dev/null
fi
old=$work/base/build/bin/pagelathe

mkdir -p "$work/pagedir"
ln -f "$work/page.html" "$work/pagedir/page.html"
ln -f "$work/page.html" "$work/pagedir/page.txt"
echo "page: $(($(stat -c %s "$work/page.html") / 1000000)) MB; load: $(uptime)"
peak() {
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ { printf "%.1f MiB", $2 / 1024 }'
}
status=0
# The three modes of the batch on the page, and the tree with its sub-folders.
for mode in "" "--limit 75" "--to-html" "--subfolders"; do
  source=$work/pagedir
  [ "$mode" = "--subfolders" ] && source=$work/tree
  rm -rf "$work/out-old" "$work/out-new"
  # shellcheck disable=SC2086
  echo "== convert $mode: peak old $(peak "$old" convert $mode "$source" "$work/out-old")," \
       "new $(peak "$new" convert $mode "$source" "$work/out-new")"
  if diff -r -q "$work/out-old" "$work/out-new" >/dev/null; then
    echo "   outputs: the same bytes ($(find "$work/out-new" -type f | wc -l) files)"
  else
    echo "   OUTPUTS DIFFER"
    status=1
  fi
done
rm -rf "$work/out-old" "$work/out-new"
hyperfine -N --warmup 1 --runs 5 --style basic \
  --prepare "rm -rf $work/out-old $work/out-new" \
  "$old convert $work/pagedir $work/out-old" "$new convert $work/pagedir $work/out-new"
exit $status

#!/usr/bin/env bash
# Whole-process comparison of the links search with grep -o: both extract the http:// links
# of every document of a folder tree (files cached, output thrown away), best of N runs.
#   bench/compare_links_grep.sh BENCH_LINKS [FOLDER] [RUNS]
# BENCH_LINKS is the bench_links program of a Release benchmark build. Without FOLDER a tree
# of 4,000 generated pages (about 80 MB) is made in a temporary folder and removed afterwards.
set -euo pipefail
bench=${1:?usage: $0 BENCH_LINKS [FOLDER] [RUNS]}
folder=${2:-}
runs=${3:-5}
made=""
if [[ -z "$folder" ]]; then
  made=$(mktemp -d)
  folder=$made
  python3 - "$folder" <<'PY'
import os, random, sys
root = sys.argv[1]
random.seed(7)
for d in range(40):
    sub = os.path.join(root, f"section{d}", f"part{d % 7}")
    os.makedirs(sub, exist_ok=True)
    for p in range(100):
        out = ["<html><head><title>Page</title></head>\r\n<body>\r\n"]
        for i in range(200):
            r = random.randrange(1 << 30)
            out.append(f'<p class="text">Some words about the subject, and more words {r % 1000} of it.</p>\r\n')
            if r % 3 == 0:
                out.append(f'<a href="http://host{r % 97}.example.org/dir/page{r % 5000}.html">Link text</a>\r\n')
            if r % 5 == 0:
                out.append(f'<img src="images/pic{r % 50}.gif">\r\n')
        out.append("</body></html>\r\n")
        with open(os.path.join(sub, f"page{p}.html"), "w") as f:
            f.write("".join(out))
PY
fi
trap '[[ -n "$made" ]] && rm -rf "$made"' EXIT

# The end-of-link characters; "]" must come first inside the brackets.
pattern="http://[^]<> '\")"$'\t'"]*"
run_grep() { grep -rhoa --include='*.txt' --include='*.htm' --include='*.html' \
               --include='*.shtm' --include='*.shtml' --include='*.php' -e "$pattern" "$folder"; }
run_ours() { "$bench" --walk "$folder" http://; }

best() {
  local name=$1 fn=$2 best_ms="" start end ms
  $fn > /dev/null  # warm the cache
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    $fn > /dev/null
    end=$(date +%s%N)
    ms=$(((end - start) / 1000000))
    if [[ -z "$best_ms" || $ms -lt $best_ms ]]; then best_ms=$ms; fi
  done
  printf '%-18s %6d ms  %8d links\n' "$name" "$best_ms" "$($fn | wc -l)"
}

echo "tree: $folder ($(find "$folder" -type f | wc -l) files, $(du -sh "$folder" | cut -f1))"
best "grep -o" run_grep
best "links search" run_ours

#!/usr/bin/env bash
# Whole-process comparison of the links search with grep -o: both extract the http:// links
# of every document of a folder tree (files cached, links written to a file), best of N runs
# taken in turn.
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

# The end-of-link characters; "]" must come first inside the brackets.
pattern="http://[^]<> '\")"$'\t'"]*"
run_grep() { grep -rhoa --include='*.txt' --include='*.htm' --include='*.html' \
               --include='*.shtm' --include='*.shtml' --include='*.php' -e "$pattern" "$folder"; }
run_ours() { "$bench" --walk "$folder" http://; }

# The links go to a real file: GNU grep notices an output of /dev/null and then stops at the
# first match of each file, which would time a different job.
out=$(mktemp)
trap '[[ -n "$made" ]] && rm -rf "$made"; rm -f "$out"' EXIT

# Runs the two in turn, RUNS times, and keeps each one's best time.
names=("grep -o" "links search")
fns=(run_grep run_ours)
declare -a best
for fn in "${fns[@]}"; do $fn > "$out"; done  # warm the cache
for ((i = 0; i < runs; i++)); do
  for k in 0 1; do
    start=$(date +%s%N)
    ${fns[$k]} > "$out"
    end=$(date +%s%N)
    ms=$(((end - start) / 1000000))
    if [[ -z "${best[$k]:-}" || $ms -lt ${best[$k]} ]]; then best[$k]=$ms; fi
  done
done

echo "tree: $folder ($(find "$folder" -type f | wc -l) files, $(du -sh "$folder" | cut -f1))"
for k in 0 1; do
  printf '%-18s %6d ms  %8d links\n' "${names[$k]}" "${best[$k]}" "$(${fns[$k]} | wc -l)"
done

#!/usr/bin/env bash
# Whole processes side by side: pagelathe against the usual command-line tools, on the HTML
# documentation of four Debian packages, files cached, each pair in one hyperfine -N run
# (medians), and peak resident sizes with /usr/bin/time -v.
#
#   bench/compare_cli.sh [WORK_FOLDER]        (default /tmp/pagelathe-bench; kept for reuse)
#
# It installs what it needs with apt-get (only what is missing), builds the release pagelathe
# in build/release (configured by scripts/configure.sh, as the run and test scripts configure
# it), copies the documentation tree, makes the concatenated page and the words text, starts
# nginx and python3 -m http.server on 127.0.0.1 (stopped at the end), and prints every
# comparison with the command that gives it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
work=${1:-/tmp/pagelathe-bench}

packages=(hyperfine ripgrep nginx-light python3 python3.11-doc postgresql-doc-15
          qtbase5-doc-html debian-reference-en html2text mawk curl time grep sed coreutils
          gawk python3-icu debian-reference-de debian-reference-fr debian-reference-es
          debian-reference-it debian-reference-ja debian-reference-zh-cn debian-faq-ru debian-faq-ko)
source bench/common.sh
prepare_pagelathe "${packages[@]}"

# The tree: the four packages' documentation without its images, PDFs and compressed files.
mkdir -p "$work"
tree=$work/tree
if [ ! -d "$tree" ]; then
  mkdir -p "$tree.part"
  for pair in /usr/share/doc/python3.11/html:python /usr/share/doc/postgresql-doc-15/html:postgresql \
              /usr/share/qt5/doc:qt5 /usr/share/debian-reference:debian-reference; do
    source=${pair%%:*}
    mkdir -p "$tree.part/${pair##*:}"
    (cd "$source" && find -L . -type f ! -name '*.png' ! -name '*.jpg' ! -name '*.gif' \
       ! -name '*.pdf' ! -name '*.gz' -exec cp -L --parents -t "$tree.part/${pair##*:}/" {} +)
  done
  mv "$tree.part" "$tree"
fi
# The page: every HTML file of the tree, in name order, one after the other.
page=$work/page.html
[ -s "$page" ] || find "$tree" -type f -name '*.htm*' -print0 | sort -z | xargs -0 cat > "$page"
# The words: the text of the page (tags made blanks) and the tree's text files, taken again
# and again up to 116 MiB, cut at a line's end.
words=$work/words.txt
if [ ! -s "$words" ]; then
  LC_ALL=C sed 's/<[^>]*>/ /g' "$page" > "$work/stripped.txt"
  find "$tree" -type f -name '*.txt' -print0 | sort -z | xargs -0 cat > "$work/texts.txt"
  # (cat ends on a closed pipe once head has its bytes: no failure)
  { for _ in 1 2 3; do cat "$work/stripped.txt" "$work/texts.txt"; done | head -c 121634816 \
      > "$work/words.part"; } || true
  head -n -1 "$work/words.part" > "$words"
fi
# The download: 200 MiB of random bytes.
body=$work/www/body.bin
mkdir -p "$work/www"
[ -s "$body" ] || head -c $((200 * 1024 * 1024)) /dev/urandom > "$body"

echo "tree:  $(find "$tree" -type f | wc -l) files, $(du -sm "$tree" | cut -f1) MB"
echo "page:  $(($(stat -c %s "$page") / 1000000)) MB; words: $(($(stat -c %s "$words") / 1000000)) MB"
echo "load:  $(uptime)"

# Servers on 127.0.0.1: nginx with a configuration of its own, and Python's http.server.
nginx_port=18080
python_port=18081
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT
start_nginx "$work" 64 "  sendfile on;
  server { listen 127.0.0.1:$nginx_port; root $work/www; }"
python3 -m http.server "$python_port" --bind 127.0.0.1 --directory "$work/www" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do curl -s -o /dev/null "http://127.0.0.1:$python_port/" && break; sleep 0.1; done

cat "$page" "$words" > /dev/null
find "$tree" -type f -exec cat {} + > /dev/null

# The links pattern: "http://" and everything up to an end-of-link character (in a file, as
# it holds both quote characters).
pattern='http://[^]<> '"'"'")'$'\t'']*'
printf '%s\n' "$pattern" > "$work/pattern.txt"
export LC_ALL=C

# hyperfine -N runs each command without a shell; a command that needs a pipe or a
# redirection goes through bash -c, for both sides alike where one side needs it.
compare() {
  local title=$1 runs=$2
  shift 2
  echo
  echo "== $title"
  hyperfine -N --warmup 1 --runs "$runs" --style basic --export-json "$work/last.json" "$@" \
    2>&1 | grep -vE '^\s*$'
  python3 - "$work/last.json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["results"]
first = runs[0]
for other in runs[1:]:
    print(f"   ratio: {other['median'] / first['median']:.2f}x  ({other['command']} / {first['command']}, medians)")
PY
}
peak() {
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ { printf "%.1f MiB", $2 / 1024 }'
}

compare "links of the tree" 20 \
  "$pagelathe links --raw --type full --no-sort $tree" \
  "grep -rhoE -f $work/pattern.txt $tree" \
  "rg -j1 -o -f $work/pattern.txt $tree"
echo "   links found: pagelathe $("$pagelathe" links --raw --type full --no-sort "$tree" | wc -l)," \
     "grep $(grep -rhoE -f "$work/pattern.txt" "$tree" | wc -l)," \
     "rg $(rg -j1 -o -f "$work/pattern.txt" "$tree" | wc -l)"

compare "one page to text" 5 \
  "$pagelathe convert --to-text $page" \
  "sed s/<[^>]*>//g $page" \
  "html2text $page"
# The streamed text must be the engine's byte for byte: the batch converts the same page
# through HtmlToText holding the whole document.
mkdir -p "$work/pagedir" "$work/pageout"
ln -f "$page" "$work/pagedir/page.html"
"$pagelathe" convert "$work/pagedir" "$work/pageout"
if "$pagelathe" convert --to-text "$page" | cmp -s - "$work/pageout/page.txt"; then
  echo "   the streamed text is the batch's, byte for byte"
else
  echo "   THE STREAMED TEXT DIFFERS FROM THE BATCH'S"
fi
echo "   peak of the batch (whole document): $(peak "$pagelathe" convert "$work/pagedir" "$work/pageout")"
echo "   peak: pagelathe $(peak "$pagelathe" convert --to-text "$page"), sed $(peak sed 's/<[^>]*>//g' "$page"), html2text $(peak html2text "$page")"

compare "word counts" 10 \
  "$pagelathe keywords $words" \
  "bash -c \"mawk '{for(i=1;i<=NF;i++) c[tolower(\$i)]++} END{for(w in c) print c[w], w}' $words | sort -rn\""
echo "   peak: pagelathe $(peak "$pagelathe" keywords "$words"), mawk $(peak mawk '{for(i=1;i<=NF;i++) c[tolower($i)]++} END{for(w in c) print c[w], w}' "$words")"

# Letters of every script: the plain-text Debian reference in German, French and Japanese and
# the Russian FAQ, taken again and again up to 80 MB, against gawk counting tolower words in a
# UTF-8 locale.
mixed=$work/mixed.txt
if [ ! -s "$mixed" ]; then
  sources=(/usr/share/debian-reference/debian-reference.{de,fr,ja}.txt.gz
           /usr/share/doc/debian/FAQ/debian-faq.ru.txt.gz)
  { for _ in $(seq 40); do zcat "${sources[@]}"; done | head -c 80000000 > "$mixed.part"; } || true
  head -n -1 "$mixed.part" > "$mixed"
fi
printf '%s\n' '{for(i=1;i<=NF;i++) c[tolower($i)]++} END{for(w in c) print c[w], w}' \
  > "$work/count.awk"
compare "word counts, mixed German, French, Russian, Japanese" 5 \
  "$pagelathe keywords $mixed" \
  "bash -c \"LC_ALL=C.UTF-8 gawk -f $work/count.awk $mixed | sort -rn\""
echo "   peak: pagelathe $(peak "$pagelathe" keywords "$mixed"), gawk $(peak env LC_ALL=C.UTF-8 gawk -f "$work/count.awk" "$mixed")"
# The rows against an independent model of the rules (bench/keywords_reference.py), row for
# row, on the Debian texts in eight languages and on a Windows-1251 text.
texts=$work/texts
mkdir -p "$texts"
for source in /usr/share/debian-reference/debian-reference.{de,fr,es,it,ja,zh-cn}.txt.gz \
              /usr/share/doc/debian/FAQ/debian-faq.{ru,ko}.txt.gz; do
  zcat "$source" > "$texts/$(basename "$source" .gz)"
done
/usr/bin/python3 -c "import sys; t = open(sys.argv[1], encoding='utf-8').read();
open(sys.argv[2], 'wb').write(t.encode('cp1251', errors='ignore'))" \
  "$texts/debian-faq.ru.txt" "$texts/faq-ru-windows-1251.txt"
for text in "$texts"/*.txt; do
  for options in "--min-length 4 --min-frequency 4" "--min-length 1 --min-frequency 1" \
                 "--min-length 1 --min-frequency 1 --case-sensitive"; do
    # shellcheck disable=SC2086
    if cmp -s <("$pagelathe" keywords $options "$text") \
              <(/usr/bin/python3 "$root/bench/keywords_reference.py" $options "$text"); then
      verdict="equal"
    else
      verdict="DIFFERENT"
    fi
    echo "   $(basename "$text") [$options]: $verdict to the reference model" \
         "($("$pagelathe" keywords $options "$text" | wc -l) rows)"
  done
done

for server in "nginx:$nginx_port" "http.server:$python_port"; do
  url="http://127.0.0.1:${server##*:}/body.bin"
  compare "200 MiB from ${server%%:*}" 30 \
    "curl -s -o /dev/null $url" \
    "$pagelathe fetch --output /dev/null $url"
  for tool in "curl -s -o /dev/null" "$pagelathe fetch --output /dev/null"; do
    /usr/bin/time -f "%e s wall, %U s user + %S s system CPU, peak %M KB" $tool "$url" 2>&1 >/dev/null |
      sed "s|^|   ${tool%% *}: |" | tail -1
  done
done

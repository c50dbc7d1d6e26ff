#!/usr/bin/env bash
# The link check as a user runs it, side by side with the usual tools, in one command:
#
#   bench/compare_check.sh [WORK_FOLDER] [LINKS]   (default /tmp/pagelathe-check-bench, 10000)
#
# 1. The loopback farm of bench/check_farm.py (20 hosts on 127.0.0.1, LINKS links of every
#    behaviour: ok, 404, 410, 500, 301, a chain of 302s, a loop, HEAD refused, 2 s slow,
#    silent, 429 then 200, a reset, a 50 MB body, https good and wrong-name, refused):
#    `pagelathe check` and Debian's `linkchecker` with the same time-out (TIMEOUT, 20 s) in one
#    hyperfine run (RUNS runs each, 1 by default: linkchecker takes a quarter of an hour), the
#    farm reset before each run; every link's state checked against the farm's list; the
#    peak resident size of both.
# 2. A farm of only fast links on nginx (20 ports, LINKS links): `pagelathe check` beside
#    `curl --parallel` (64 at once, HEAD, the same URLs) in one hyperfine run, links per
#    second and peak resident size.
# 3. The same with 100,000 links: peak resident size.
# It installs what it needs with apt-get (only what is missing), builds the release pagelathe
# in build/release, starts and stops its servers, and prints `uptime` with the figures.
set -euo pipefail
cd "$(dirname "$0")/.."
work=${1:-/tmp/pagelathe-check-bench}
links=${2:-10000}
timeout=${TIMEOUT:-20}
runs=${RUNS:-1}

packages=(linkchecker nginx-light hyperfine time curl python3 openssl)
source bench/common.sh
prepare_pagelathe "${packages[@]}"

rm -rf "$work"
mkdir -p "$work"
# linkchecker drops root's rights for nobody's: what it reads and writes must be open to it.
chmod 755 "$work"
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT

wait_ready() {  # FILE: until the farm has written "ready" into it
  for _ in $(seq 600); do grep -q ready "$1" 2>/dev/null && return 0; sleep 0.1; done
  echo "the farm did not start: $(cat "$1")" >&2
  exit 1
}

# Every link's state in a JSON report against the farm's list.
verify() {  # EXPECTED REPORT
  python3 - "$1" "$2" <<'PY'
import collections, json, sys
expected = json.load(open(sys.argv[1]))
report = {link["url"]: link for link in json.load(open(sys.argv[2]))}
wrong = [(url, state, report.get(url, {}).get("state"), report.get(url, {}).get("message"))
         for url, state in expected.items() if report.get(url, {}).get("state") != state]
print("  states:", dict(collections.Counter(link["state"] for link in report.values())))
print("  farm links in the report: %d of %d (and %d pages of the site); with a wrong state: %d"
      % (len(expected) - sum(1 for u in expected if u not in report), len(expected),
         len(report) - sum(1 for u in expected if u in report), len(wrong)))
for url, want, got, message in wrong[:10]:
    print("    %s: %s, expected %s (%s)" % (url, got, want, message))
PY
}

# The mean times of a hyperfine run, how many times the first command is faster than each
# other, and with LINKS the links per second.
ratio() {  # TIMES.json [LINKS]
  python3 - "$@" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
first = results[0]["mean"]
for result in results:
    line = "  %s: %.2f s" % (result["command"], result["mean"])
    if len(sys.argv) > 2:
        line += ", %.0f links/s" % (int(sys.argv[2]) / result["mean"])
    if result is not results[0]:
        line += " (pagelathe %.1f times as fast)" % (result["mean"] / first)
    print(line)
PY
}

kib() { tail -1 "$1" | awk '{ printf "%.1f MiB", $1 / 1024 }'; }

echo "== The farm of every behaviour: $links links on 20 hosts, time-out $timeout s"
farm=$work/farm
mkdir -p "$farm"
python3 bench/check_farm.py "$farm" --links "$links" > "$farm.log" 2>&1 &
pids+=($!)
wait_ready "$farm.log"
chmod -R a+rX "$farm"
reset=$(grep -m1 -o '^http://127.0.0.1:[0-9]*/ok/' "$farm/urls.txt" | sed 's|/ok/$|/__reset|')
printf '[checking]\nsslverify=%s\n' "$farm/ca.pem" > "$work/linkcheckerrc"
chmod a+r "$work/linkcheckerrc"
check="$pagelathe check --format json --timeout $timeout --cacert $farm/ca.pem $farm/site"
lc="linkchecker --config $work/linkcheckerrc --check-extern --timeout $timeout --no-status"
lc="$lc --no-warnings file://$farm/site/index.html"
uptime
hyperfine --runs "$runs" --ignore-failure --export-json "$work/farm-times.json" \
  --prepare "curl -s -o /dev/null $reset" \
  -n "pagelathe check" "/usr/bin/time -f %M -o $work/pagelathe.kib $check > $work/farm.json" \
  -n "linkchecker" "/usr/bin/time -f %M -o $work/linkchecker.kib $lc > $work/linkchecker.txt 2>&1"
uptime
ratio "$work/farm-times.json"
verify "$farm/expected.json" "$work/farm.json"
echo "  linkchecker: $(grep -E 'links? in .* URLs? checked' "$work/linkchecker.txt" | tail -1)"
echo "  peak resident size: pagelathe $(kib "$work/pagelathe.kib"), linkchecker $(kib "$work/linkchecker.kib")"
kill "${pids[@]}" 2>/dev/null || true
pids=()

# nginx on 20 ports, each answering every path with a small page at once.
start_fast_servers() {
  ports=()
  local servers="  keepalive_requests 1000000;"
  for n in $(seq 20); do
    ports+=($((18200 + n)))
    servers="$servers
  server { listen 127.0.0.1:$((18200 + n)) backlog=4096; location / { return 200 'ok'; } }"
  done
  start_nginx "$work" 4096 "$servers"
}

fast_farm() {  # COUNT: the site and curl's list for COUNT fast links
  local folder=$work/fast$1
  python3 bench/check_farm.py "$folder" --links "$1" --fast --ports "$(IFS=,; echo "${ports[*]}")" \
    > "$folder.log" 2>&1
  echo "$folder"
}

start_fast_servers
echo
echo "== Only fast links: $links links on 20 nginx ports"
fast=$(fast_farm "$links")
uptime
hyperfine -N --warmup 1 --runs 5 --export-json "$work/fast-times.json" \
  -n "pagelathe check" "$pagelathe check --format json --output $work/fast.json $fast/site" \
  -n "curl --parallel" "curl -s -Z --parallel-max 64 -I -K $fast/curl.cfg"
uptime
verify "$fast/expected.json" "$work/fast.json"
/usr/bin/time -f %M -o "$work/fast.kib" "$pagelathe" check --format json --output /dev/null "$fast/site"
ratio "$work/fast-times.json" "$links"
echo "  peak resident size of pagelathe check: $(kib "$work/fast.kib")"

echo
echo "== 100,000 fast links: peak resident size"
big=$(fast_farm 100000)
uptime
/usr/bin/time -f "%e %M" -o "$work/big.time" "$pagelathe" check --format json --output "$work/big.json" "$big/site"
verify "$big/expected.json" "$work/big.json"
read -r seconds kib_big < <(tail -1 "$work/big.time")
awk -v s="$seconds" -v k="$kib_big" 'BEGIN { printf "  %s s (%.0f links/s), peak resident size %.1f MiB\n", s, 100000 / s, k / 1024 }'
uptime

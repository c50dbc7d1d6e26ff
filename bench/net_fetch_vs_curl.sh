#!/usr/bin/env bash
# Fetches one large body from a local HTTP server with curl and with the program's HTTP
# client, three times each, and prints wall time, CPU time, throughput and peak memory.
# Two pairs: the transfer alone (curl to /dev/null, the client dropping each chunk), and the
# body kept (curl writing a file in /dev/shm, the client keeping the body in memory as the
# window does); on a virtual machine the fresh pages of a kept body can cost more than the
# transfer itself.
# Usage: bench/net_fetch_vs_curl.sh BUILD_DIR [SIZE_MB]   (BUILD_DIR built with PAGELATHE_BENCH=ON)
set -euo pipefail

build=${1:?build folder}
size_mb=${2:-200}
fetch="$build/bench/bench_net_fetch"
[ -x "$fetch" ] || { echo "missing $fetch"; exit 2; }

work=$(mktemp -d)
server_pid=""
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

head -c $((size_mb * 1024 * 1024)) /dev/urandom > "$work/body.bin"
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$work" > "$work/server.log" 2>&1 &
server_pid=$!
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$work/server.log" | head -1)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "the server did not start"; exit 1; }
url="http://127.0.0.1:$port/body.bin"

run() {
  local name=$1
  shift
  for round in 1 2 3; do
    /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" > /dev/null
    read -r wall user sys peak < "$work/time"
    awk -v n="$name" -v r="$round" -v w="$wall" -v u="$user" -v s="$sys" -v p="$peak" -v mb="$size_mb" \
      'BEGIN { printf "%-10s round %d: %6.2f s wall, %5.2f s CPU (user %.2f + sys %.2f), %7.1f MB/s, peak %d MB\n", n, r, w, u + s, u, s, (w > 0 ? mb * 1.048576 / w : 0), p / 1024 }'
  done
}

shm=$(mktemp -p /dev/shm pagelathe-bench.XXXXXX)
trap 'rm -f "$shm"; cleanup' EXIT
echo "fetching $size_mb MiB from $url"
echo "-- the transfer alone"
run curl curl -s -o /dev/null "$url"
run pagelathe "$fetch" "$url" --discard
echo "-- the body kept"
run curl curl -s -o "$shm" "$url"
run pagelathe "$fetch" "$url"

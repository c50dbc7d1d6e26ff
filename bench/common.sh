# What the benchmark scripts share; each sources this file from the top of the tree.
#
#   prepare_pagelathe PACKAGE...
# installs the Debian packages named (those missing, with apt-get) and what building needs,
# configures build/release as the run and test scripts do, builds the command line there and
# sets `pagelathe` to its path.
prepare_pagelathe() {
  bash bench/install_missing.sh "$@"
  bash scripts/setup.sh
  bash scripts/configure.sh release
  cmake --build build/release --target pagelathe >/dev/null
  pagelathe=$PWD/build/release/bin/pagelathe
}

#   start_nginx WORK CONNECTIONS HTTP_BLOCK
# writes WORK/nginx.conf (one worker, WORK for its pid and error log, no access log, at most
# CONNECTIONS connections, HTTP_BLOCK inside "http { }"), starts nginx in the foreground of a
# background job, appends its process id to the caller's `pids` array and returns once the
# first port the block listens on answers.
start_nginx() {
  local work=$1 connections=$2 block=$3 port
  cat > "$work/nginx.conf" <<CONF
worker_processes 1;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
daemon off;
events { worker_connections $connections; }
http {
  access_log off;
$block
}
CONF
  nginx -c "$work/nginx.conf" -p "$work" 2>/dev/null &
  pids+=($!)
  port=$(grep -m1 -o 'listen 127.0.0.1:[0-9]*' <<<"$block" | cut -d: -f2)
  for _ in $(seq 100); do curl -s -o /dev/null "http://127.0.0.1:$port/" && return 0; sleep 0.1; done
  echo "nginx did not start: $(cat "$work/nginx-error.log" 2>/dev/null)" >&2
  return 1
}

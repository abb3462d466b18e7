#!/usr/bin/env bash
# Link-check benchmark: servers on eight loopback addresses (127.0.0.1 to 127.0.0.8, so that two
# checks per host still allow 16 at once) answer every request after 200 ms, and
# build/tests/linkcheck_bench.exe checks 2,000 shortcuts against them under Wine, 16 at a time
# (see tests/bench/LinkCheckBench.cpp). Prints the time against its floor of 25 s and the
# process's handles and memory before and after. Exits non-zero when the ratio is above 1.1.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
exe="${BENCH_EXE:-$build/tests/linkcheck_bench.exe}"
[ -f "$exe" ] || { echo "linkcheck-bench.sh: $exe not found; build it first (make build)." >&2; exit 1; }

port_file="$(mktemp)"
python3 - "$port_file" <<'PY' &
import http.server, os, socketserver, sys, threading, time

class Slow(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        time.sleep(0.2)
        self.send_response(200)
        self.send_header("Content-Length", "0")
        self.end_headers()
    def log_message(self, *args):
        pass

class Server(http.server.ThreadingHTTPServer):
    request_queue_size = 64
    daemon_threads = True

servers = [Server(("127.0.0.%d" % n, 0), Slow) for n in range(1, 9)]
for server in servers[1:]:
    threading.Thread(target=server.serve_forever, daemon=True).start()
with open(sys.argv[1] + ".tmp", "w") as out:
    out.write(" ".join("http://%s:%d" % server.server_address for server in servers))
os.replace(sys.argv[1] + ".tmp", sys.argv[1])
servers[0].serve_forever()
PY
server_pid=$!
. "$root/scripts/wine-env.sh"
stop_all() { kill "$server_pid" 2>/dev/null || true; rm -f "$port_file" "$port_file.tmp"; wine_env_stop; }
for _ in $(seq 100); do [ -s "$port_file" ] && break; sleep 0.1; done

wine_env_start "$build/bench-prefix" "${BENCH_DISPLAY:-90}"
trap stop_all EXIT
# shellcheck disable=SC2046 # one argument per server
"$WINE" "$exe" $(cat "$port_file") </dev/null | tr -d '\r'

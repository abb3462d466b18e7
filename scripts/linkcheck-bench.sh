#!/usr/bin/env bash
# Link-check benchmark: a server on the host answers every request after 200 ms, and
# build/tests/linkcheck_bench.exe checks 500 shortcuts against it under Wine (see
# tests/bench/LinkCheckBench.cpp). Prints the time against its floor of 20 s and the process's
# handles and memory before and after. Exits non-zero when the ratio is above 1.1.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
exe="${BENCH_EXE:-$build/tests/linkcheck_bench.exe}"
[ -f "$exe" ] || { echo "linkcheck-bench.sh: $exe not found; build it first (make build)." >&2; exit 1; }

port_file="$(mktemp)"
python3 - "$port_file" <<'PY' &
import http.server, socketserver, sys, time

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

server = Server(("127.0.0.1", 0), Slow)
with open(sys.argv[1], "w") as out:
    out.write(str(server.server_address[1]))
server.serve_forever()
PY
server_pid=$!
. "$root/scripts/wine-env.sh"
stop_all() { kill "$server_pid" 2>/dev/null || true; rm -f "$port_file"; wine_env_stop; }
for _ in $(seq 100); do [ -s "$port_file" ] && break; sleep 0.1; done

wine_env_start "$build/bench-prefix" "${BENCH_DISPLAY:-90}"
trap stop_all EXIT
"$WINE" "$exe" "http://127.0.0.1:$(cat "$port_file")" </dev/null | tr -d '\r'

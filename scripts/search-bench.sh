#!/usr/bin/env bash
# All-tabs search benchmark: generates three tab folders once (build/search-bench-data, each
# 20,000 shortcuts in 2,000 folders: 20 folders of 99 sub-folders, 10 shortcuts in every folder)
# and runs build/tests/search_bench.exe over them under Wine (see tests/bench/SearchBench.cpp).
# It prints two lines, each beside its goal: the first search as a ratio to reading every
# shortcut's bytes once, and the time of a repeated search. BENCH_DISPLAY picks the X display.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
data="$build/search-bench-data"
exe="$build/tests/search_bench.exe"
[ -f "$exe" ] || { echo "search-bench.sh: $exe not found; build it first (make build)." >&2; exit 1; }

if [ ! -d "$data" ]; then
    echo "Generating build/search-bench-data..."
    rm -rf "$data.partial"
    python3 - "$data.partial" <<'PY'
import os, sys
out = sys.argv[1]
n = 0
for tab in ("tab1", "tab2", "tab3"):
    for t in range(20):
        top = os.path.join(out, tab, f"Folder {t:02d}")
        folders = [top] + [os.path.join(top, f"検索 {s:02d}" if s % 5 == 0 else f"Sub {s:02d}") for s in range(99)]
        for folder in folders:
            os.makedirs(folder, exist_ok=True)
            for k in range(10):
                n += 1
                with open(os.path.join(folder, f"Site {k} 表示.url" if k % 3 == 0 else f"Site {k}.url"), "wb") as f:
                    f.write(b"[InternetShortcut]\r\nURL=http://example.com/%d" % n)
PY
    mv "$data.partial" "$data"
fi

. "$root/scripts/wine-env.sh"
wine_env_start "$build/bench-prefix" "${BENCH_DISPLAY:-90}"
"$WINE" "$exe" "Z:${data//\//\\}" </dev/null | tr -d '\r'

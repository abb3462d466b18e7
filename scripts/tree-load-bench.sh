#!/usr/bin/env bash
# Tree loading benchmark: generates a large Favorites folder once (build/bench-data) and times
# loading it into a tree under Wine, next to a bare file-system walk over the same folder (see
# tests/bench/TreeLoadBench.cpp for what is measured).
#
# The data: 50 top-level folders x 40 sub-folders with 10 shortcuts each (20,000 shortcuts in
# 2,000 leaf folders) plus one folder "big" with 5,000 shortcuts. Some names are Japanese; they are
# written as UTF-8 file names, which Wine shows to the program as Shift-JIS.
#
# BENCH_EXE overrides the benchmark program (default build/tests/tree_load_bench.exe).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
data="$build/bench-data"
exe="${BENCH_EXE:-$build/tests/tree_load_bench.exe}"

if [ ! -f "$exe" ]; then
    echo "tree-load-bench.sh: $exe not found; build it first (make build)." >&2
    exit 1
fi

seconds_since() { awk -v start="$1" -v now="$EPOCHREALTIME" 'BEGIN { printf "%.1f", now - start }'; }
started=$EPOCHREALTIME

# --- Data ----------------------------------------------------------------------------------------
# Generated into a scratch folder and renamed at the end, so an interrupted run never leaves a
# half-filled build/bench-data behind that later runs would take as complete.
generate_data() {
    local scratch="$data.partial"
    rm -rf "$scratch"
    python3 - "$scratch" <<'EOF'
import os
import sys

out = sys.argv[1]
# Every fifth name is Japanese; several of these characters have a backslash (0x5C) as the
# second byte in Shift-JIS, which the program's double-byte handling must not take for a separator.
top_words = ["ニュース", "表示設定", "ソフトウェア", "予定表", "能力開発"]
sub_words = ["ソース", "データ表", "機能", "趣味", "申込み"]
link_words = ["検索", "表計算", "ポータル", "予約", "ダウンロード"]
next_url = 0

def japanese(words, i):
    return i % 5 == 0, words[(i // 5) % len(words)]

def shortcut(folder, label):
    global next_url
    next_url += 1
    with open(os.path.join(folder, label + ".url"), "wb") as f:
        f.write(b"[InternetShortcut]\r\nURL=http://example.com/%d" % next_url)

def name(words, i, latin):
    is_japanese, word = japanese(words, i)
    return f"{word} {i:02d}" if is_japanese else f"{latin} {i:02d}"

for t in range(1, 51):
    top = os.path.join(out, name(top_words, t, "Folder"))
    for s in range(1, 41):
        sub = os.path.join(top, name(sub_words, s, "Sub"))
        os.makedirs(sub)
        for k in range(1, 11):
            shortcut(sub, name(link_words, k, "Site"))

big = os.path.join(out, "big")
os.makedirs(big)
for k in range(1, 5001):
    is_japanese, word = japanese(link_words, k)
    shortcut(big, f"{word} {k:04d}" if is_japanese else f"Link {k:04d}")
EOF
    mv "$scratch" "$data"
}

if [ -d "$data" ]; then
    echo "Using the existing data in build/bench-data."
else
    echo "Generating build/bench-data..."
    generate_data
    echo "Generated in $(seconds_since "$started") s."
fi

# --- Run -----------------------------------------------------------------------------------------
. "$root/scripts/wine-env.sh"
prefix="$build/bench-prefix"
wine_started=$EPOCHREALTIME
wine_env_start "$prefix" "${BENCH_DISPLAY:-90}"
echo "Wine environment ready in $(seconds_since "$wine_started") s."
echo

windows_data="Z:${data//\//\\}"
"$WINE" "$exe" "$windows_data" </dev/null | tr -d '\r'

echo
echo "tree-load-bench.sh took $(seconds_since "$started") s in all."

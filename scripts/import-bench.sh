#!/usr/bin/env bash
# Import benchmark: generates a large Netscape bookmark file once (build/bench-data-import), times
# its import through tlImport.dll under Wine (tests/import/ImportBench.cpp), and sets a plain
# Python html.parser pass over the same file (native python3, counting <A> and <H3> tags) beside
# it as a reference point.
#
# The data: 50,000 bookmarks in 2,000 folders (50 top-level folders of 39 sub-folders each, 25
# bookmarks in every folder), UTF-8 declared, every fifth title Japanese, some with "&amp;", each
# bookmark with an ICON data URI (every twentieth a long one, as browsers write), about 15 MB.
#
# IMPORT_BENCH_BUILD overrides the build folder (default build/), which holds tests/import_bench.exe,
# bin/tlImport.dll, the data and the Wine prefix.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${IMPORT_BENCH_BUILD:-$root/build}"
data="$build/bench-data-import"
file="$data/bookmarks.htm"
exe="$build/tests/import_bench.exe"
rounds=5

if [ ! -f "$exe" ]; then
    echo "import-bench.sh: $exe not found; build the target import_bench first." >&2
    exit 1
fi

# --- Data ----------------------------------------------------------------------------------------
# Written to a scratch file and renamed at the end, so an interrupted run leaves nothing that
# later runs would take as complete.
if [ -f "$file" ]; then
    echo "Using the existing $file."
else
    echo "Generating $file..."
    mkdir -p "$data"
    python3 - "$file.partial" <<'EOF'
import base64
import random
import sys

random.seed(8)
japanese = ["ニュース", "表示設定", "ソフトウェア", "予定表", "能力開発", "検索", "ダウンロード"]
out = []
number = 0

def icon():
    size = 750 if number % 20 == 0 else 48  # bytes of the picture; base64 makes a third more
    return "data:image/png;base64," + base64.b64encode(random.randbytes(size)).decode()

def bookmarks(indent):
    global number
    for _ in range(25):
        number += 1
        if number % 5 == 0:
            title = f"{japanese[number % len(japanese)]} {number}"
        elif number % 7 == 0:
            title = f"Tools &amp; Tips {number}"
        else:
            title = f"Bookmark {number} - Example Site"
        out.append(f'{indent}<DT><A HREF="https://www.example.com/section/{number % 97}/page-{number}.html?a=1&amp;b=2"'
                   f' ADD_DATE="1466009412" LAST_MODIFIED="1466011730" ICON="{icon()}">{title}</A>\n')

out.append('<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">\n'
           '<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n')
for top in range(1, 51):
    out.append(f'    <DT><H3 ADD_DATE="1466008580" LAST_MODIFIED="1466011730">Folder {top:02d}</H3>\n    <DL><p>\n')
    for sub in range(1, 40):
        out.append(f'        <DT><H3 ADD_DATE="1466008580">Sub {top:02d}-{sub:02d}</H3>\n        <DL><p>\n')
        bookmarks("            ")
        out.append('        </DL><p>\n')
    bookmarks("        ")
    out.append('    </DL><p>\n')
out.append('</DL><p>\n')
with open(sys.argv[1], "w", encoding="utf-8", newline="\n") as f:
    f.write("".join(out))
EOF
    mv "$file.partial" "$file"
fi
echo "$(stat -c %s "$file") bytes."
echo

# --- Reference: Python's html.parser ---------------------------------------------------------------
python_output="$(python3 - "$file" "$rounds" <<'EOF'
import statistics
import sys
import time
from html.parser import HTMLParser

class TagCounter(HTMLParser):
    def __init__(self):
        super().__init__()
        self.links = 0
        self.folders = 0

    def handle_starttag(self, tag, attrs):
        if tag == "a":
            self.links += 1
        elif tag == "h3":
            self.folders += 1

path, rounds = sys.argv[1], int(sys.argv[2])
times = []
for _ in range(rounds + 1):  # the first round warms the file cache and is not counted
    start = time.perf_counter()
    with open(path, "rb") as f:
        text = f.read().decode("utf-8")
    counter = TagCounter()
    counter.feed(text)
    counter.close()
    times.append((time.perf_counter() - start) * 1000)
print(f"  python3 html.parser: {counter.folders} <H3>, {counter.links} <A>")
print(f"median-ms {statistics.median(times[1:]):.1f}")
EOF
)"

# --- tlImport.dll under Wine -----------------------------------------------------------------------
. "$root/scripts/wine-env.sh"
wine_env_start "$build/import-bench-prefix"
# The program and the library side by side, where the tree looks for its plug-in; the test folder
# itself stays without one (a window test checks a source without the plug-in).
mkdir -p "$data/bin"
cp "$exe" "$build/bin/tlImport.dll" "$data/bin/"
dll_output="$("$WINE" "$data/bin/import_bench.exe" "Z:${file//\//\\}" </dev/null | tr -d '\r')"

echo "$dll_output" | grep -v 'median-ms '
echo
echo "$python_output" | grep -v '^median-ms '
dll_ms="$(echo "$dll_output" | awk '/^median-ms / { print $2 }')"
tree_ms="$(echo "$dll_output" | awk '/^tree-median-ms / { print $2 }')"
python_ms="$(echo "$python_output" | awk '/^median-ms / { print $2 }')"
echo
printf '  %-44s %10s ms\n' "tlImport.dll NSBM import (median)" "$dll_ms"
printf '  %-44s %10s ms\n' "the same, opened in the tree (median)" "$tree_ms"
printf '  %-44s %10s ms\n' "Python html.parser pass (median)" "$python_ms"
awk -v a="$dll_ms" -v b="$python_ms" 'BEGIN { printf "  ratio tlImport / Python: %.2f\n", a / b }'
awk -v a="$tree_ms" -v b="$python_ms" 'BEGIN { printf "  ratio tree import / Python: %.2f\n", a / b }'

#!/usr/bin/env bash
# Import benchmark: generates a large Netscape bookmark file and a large Chromium "Bookmarks" file
# once (build/bench-data-import), times their import through tlImport.dll under Wine
# (tests/import/ImportBench.cpp), and sets native python3 passes over the same files beside them
# in the same run: html.parser counting <A> and <H3> tags, and the json module (read, json.loads,
# one walk counting folders and bookmarks).
#
# The data: 50,000 bookmarks in 2,000 folders (50 top-level folders of 39 sub-folders each, 25
# bookmarks in every folder), UTF-8 declared, every fifth title Japanese, some with "&amp;", each
# bookmark with an ICON data URI (every twentieth a long one, as browsers write), about 15 MB.
# The Bookmarks file holds 50,000 bookmarks in the same folders below the bookmark bar, as Chrome
# writes them (three-space indent, dates, GUIDs, meta_info; a dash and an emoji in some titles),
# about 20 MB.
#
# IMPORT_BENCH_BUILD overrides the build folder (default build/), which holds tests/import_bench.exe,
# bin/tlImport.dll, the data and the Wine prefix.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${IMPORT_BENCH_BUILD:-$root/build}"
data="$build/bench-data-import"
file="$data/bookmarks.htm"
chromium_file="$data/Bookmarks"
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
if [ -f "$chromium_file" ]; then
    echo "Using the existing $chromium_file."
else
    echo "Generating $chromium_file..."
    python3 - "$chromium_file.partial" <<'EOF'
import json
import random
import sys
import uuid

random.seed(16)
japanese = ["ニュース", "表示設定", "ソフトウェア", "予定表", "能力開発", "検索", "ダウンロード"]
ids = iter(range(4, 10**9))

def node(**fields):
    fields.update(date_added=str(13345678901234567 + random.randrange(10**9)), date_last_used="0",
                  guid=str(uuid.UUID(int=random.getrandbits(128))), id=str(next(ids)))
    return dict(sorted(fields.items()))

number = 0
def bookmarks():
    global number
    out = []
    for _ in range(25):
        number += 1
        if number % 5 == 0:
            title = f"{japanese[number % len(japanese)]} {number}"
        elif number % 7 == 0:
            title = f"Tools & \"Tips\" {number} \u2014 \U0001F600"
        else:
            title = f"Bookmark {number} - Example Site"
        out.append(node(meta_info={"last_visited_desktop": "13345678901234567"}, name=title, type="url",
                        url=f"https://www.example.com/section/{number % 97}/page-{number}.html?a=1&b=2"))
    return out

def folder(name, children):
    return node(children=children, date_modified="0", name=name, type="folder")

bar = [folder(f"Folder {top:02d}", [folder(f"Sub {top:02d}-{sub:02d}", bookmarks()) for sub in range(1, 40)]
              + bookmarks()) for top in range(1, 51)]
document = {"checksum": "0" * 32,
            "roots": {"bookmark_bar": folder("Bookmarks bar", bar), "other": folder("Other bookmarks", []),
                      "synced": folder("Mobile bookmarks", [])},
            "version": 1}
with open(sys.argv[1], "w", encoding="utf-8", newline="\n") as f:
    json.dump(document, f, indent=3, ensure_ascii=False)
EOF
    mv "$chromium_file.partial" "$chromium_file"
fi
echo "$(stat -c %s "$file") and $(stat -c %s "$chromium_file") bytes."
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

# --- Reference: Python's json module -------------------------------------------------------------
json_output="$(python3 - "$chromium_file" "$rounds" <<'EOF'
import json
import statistics
import sys
import time

def count(root):
    folders = bookmarks = 0
    pending = [root]
    while pending:
        node = pending.pop()
        if node.get("type") == "folder":
            folders += 1
            pending.extend(node.get("children", []))
        elif node.get("type") == "url":
            bookmarks += 1
    return folders, bookmarks

path, rounds = sys.argv[1], int(sys.argv[2])
times = []
for _ in range(rounds + 1):  # the first round warms the file cache and is not counted
    start = time.perf_counter()
    with open(path, "rb") as f:
        document = json.loads(f.read().decode("utf-8"))
    totals = [count(root) for root in document["roots"].values()]
    times.append((time.perf_counter() - start) * 1000)
print(f"  python3 json: {sum(t[0] for t in totals)} folders (roots included), {sum(t[1] for t in totals)} bookmarks")
print(f"median-ms {statistics.median(times[1:]):.1f}")
EOF
)"

# --- tlImport.dll under Wine -----------------------------------------------------------------------
. "$root/scripts/wine-env.sh"
wine_env_start "$build/import-bench-prefix" "${BENCH_DISPLAY:-90}"
# The program and the library side by side, where the tree looks for its plug-in; the test folder
# itself stays without one (a window test checks a source without the plug-in).
mkdir -p "$data/bin"
cp "$exe" "$build/bin/tlImport.dll" "$data/bin/"
dll_output="$("$WINE" "$data/bin/import_bench.exe" "Z:${file//\//\\}" "Z:${chromium_file//\//\\}" </dev/null | tr -d '\r')"

echo "$dll_output" | grep -v 'median-ms '
echo
echo "$python_output" | grep -v '^median-ms '
echo "$json_output" | grep -v '^median-ms '
dll_ms="$(echo "$dll_output" | awk '/^median-ms / { print $2 }')"
tree_ms="$(echo "$dll_output" | awk '/^tree-median-ms / { print $2 }')"
python_ms="$(echo "$python_output" | awk '/^median-ms / { print $2 }')"
chromium_ms="$(echo "$dll_output" | awk '/^chromium-median-ms / { print $2 }')"
json_ms="$(echo "$json_output" | awk '/^median-ms / { print $2 }')"
bare_ms="$(echo "$dll_output" | awk '/^bare-tree-median-ms / { print $2 }')"
reader_ms="$(echo "$dll_output" | awk '/^json-reader-median-ms / { print $2 }')"
echo
printf '  %-44s %10s ms\n' "tlImport.dll NSBM import (median)" "$dll_ms"
printf '  %-44s %10s ms\n' "the same, opened in the tree (median)" "$tree_ms"
printf '  %-44s %10s ms\n' "Python html.parser pass (median)" "$python_ms"
printf '  %-44s %10s ms\n' "tlImport.dll CRBM import (median)" "$chromium_ms"
printf '  %-44s %10s ms\n' "Python json module pass (median)" "$json_ms"
printf '  %-44s %10s ms\n' "the JSON library's reader alone (median)" "$reader_ms"
printf '  %-44s %10s ms\n' "the same entries into a bare tree (median)" "$bare_ms"
awk -v a="$dll_ms" -v b="$python_ms" 'BEGIN { printf "  ratio tlImport / Python: %.2f\n", a / b }'
awk -v a="$tree_ms" -v b="$python_ms" 'BEGIN { printf "  ratio tree import / Python: %.2f\n", a / b }'
awk -v a="$chromium_ms" -v b="$json_ms" 'BEGIN { printf "  ratio CRBM import / Python json: %.2f\n", a / b }'
awk -v a="$python_ms" -v b="$dll_ms" 'BEGIN { printf "  ratio Python html.parser / NSBM import: %.1f\n", a / b }'
awk -v a="$json_ms" -v b="$chromium_ms" 'BEGIN { printf "  ratio Python json / CRBM import: %.1f\n", a / b }'
awk -v a="$tree_ms" -v b="$bare_ms" 'BEGIN { printf "  ratio tree import / bare tree: %.2f\n", a / b }'
awk -v a="$chromium_ms" -v b="$reader_ms" 'BEGIN { printf "  ratio CRBM import / JSON reader alone: %.2f\n", a / b }'
awk -v a="$json_ms" -v b="$reader_ms" 'BEGIN { printf "  ratio Python json / JSON reader alone (the most the import can reach): %.1f\n", a / b }'

#!/usr/bin/env bash
# Firefox import benchmark: makes a places database of 50,000 bookmarks in 40 folders below the
# toolbar (Firefox's schema, every fifth title Japanese) once with tests/import/places_db.py
# (build/bench-data-firefox), times its import through tlImport.dll under Wine
# (tests/import/FirefoxBench.cpp), and sets Python's sqlite3 module beside it in the same run:
# the same query, the same order and walk, counting folders and bookmarks. A second copy of the
# database is left as a running Firefox leaves it (a log of recent changes beside it), which the
# plug-in reads from a private copy; that time is shown too.
#
# FIREFOX_BENCH_BUILD overrides the build folder (default build/), which holds
# tests/firefox_bench.exe, bin/tlImport.dll, the data and the Wine prefix; FIREFOX_BENCH_DISPLAY
# the first X display number tried (default 90).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FIREFOX_BENCH_BUILD:-$root/build}"
data="$build/bench-data-firefox"
places="$data/places.sqlite"
running="$data/running/places.sqlite"
exe="$build/tests/firefox_bench.exe"
rounds=7

if [ ! -f "$exe" ]; then
    echo "firefox-bench.sh: $exe not found; build the target firefox_bench first." >&2
    exit 1
fi

# --- Data ----------------------------------------------------------------------------------------
if [ -f "$places" ] && [ -f "$running-wal" ]; then
    echo "Using the existing $places."
else
    echo "Generating $places..."
    rm -rf "$data"
    mkdir -p "$data/running"
    printf 'schema=current journal=wal count=50000\n' > "$data/places.layout"
    python3 "$root/tests/import/places_db.py" make "$data/made" "$data/places.layout"
    cp "$places" "$running"
    # As Firefox leaves it while it runs: the last change only in the log (no checkpoint).
    python3 - "$running" <<'PY'
import os
import sqlite3
import sys

db = sqlite3.connect(sys.argv[1], isolation_level=None)
db.execute("PRAGMA locking_mode = EXCLUSIVE")
db.execute("PRAGMA wal_autocheckpoint = 0")
db.execute("UPDATE moz_bookmarks SET title = 'renamed' WHERE id = 2000")
os._exit(0)  # no close: the log stays, as beside a running Firefox
PY
fi
echo "$(stat -c %s "$places") bytes."
echo

# --- Reference: Python's sqlite3 module ------------------------------------------------------------
python_output="$(python3 - "$places" "$rounds" <<'EOF2'
import sqlite3
import statistics
import sys
import time

ROOTS = ("menu________", "toolbar_____", "unfiled_____", "mobile______")

def read(path):
    # As the plug-in reads a database nobody holds: read-only, unchanging, nothing made beside it.
    db = sqlite3.connect(f"file:{path}?mode=ro&immutable=1", uri=True)
    rows = db.execute("SELECT b.id, b.type, b.parent, b.position, b.title, p.url FROM moz_bookmarks b "
                      "LEFT JOIN moz_places p ON p.id = b.fk WHERE b.type IN (1, 2)").fetchall()
    roots = dict(db.execute("SELECT guid, id FROM moz_bookmarks WHERE guid IN (?, ?, ?, ?)", ROOTS).fetchall())
    db.close()
    children = {}
    for row in rows:
        children.setdefault(row[2], []).append(row)
    for entries in children.values():
        entries.sort(key=lambda row: (row[3], row[0]))
    folders = bookmarks = 0
    for guid in ROOTS:
        pending = [roots[guid]] if guid in roots else []
        while pending:
            for row in children.get(pending.pop(), []):
                if row[1] == 2:
                    folders += 1
                    pending.append(row[0])
                elif row[5] and not row[5].startswith("place:"):
                    bookmarks += 1
    return folders, bookmarks

path, rounds = sys.argv[1], int(sys.argv[2])
times = []
for _ in range(rounds + 1):  # the first round warms the file cache and is not counted
    start = time.perf_counter()
    folders, bookmarks = read(path)
    times.append((time.perf_counter() - start) * 1000)
print(f"  python3 sqlite3 (SQLite {sqlite3.sqlite_version}): {folders} folders below the roots, {bookmarks} bookmarks")
print(f"median-ms {statistics.median(times[1:]):.1f}")
EOF2
)"

# --- tlImport.dll under Wine -----------------------------------------------------------------------
. "$root/scripts/wine-env.sh"
wine_env_start "$build/firefox-bench-prefix" "${FIREFOX_BENCH_DISPLAY:-90}"
mkdir -p "$data/bin"
cp "$exe" "$build/bin/tlImport.dll" "$data/bin/"
dll_output="$("$WINE" "$data/bin/firefox_bench.exe" "Z:${places//\//\\}" "Z:${running//\//\\}" </dev/null | tr -d '\r')"

echo "$dll_output" | grep -v 'median-ms '
echo
echo "$python_output" | grep -v '^median-ms '
dll_ms="$(echo "$dll_output" | awk '/^median-ms / { print $2 }')"
copy_ms="$(echo "$dll_output" | awk '/^copy-median-ms / { print $2 }')"
python_ms="$(echo "$python_output" | awk '/^median-ms / { print $2 }')"
echo
printf '  %-44s %10s ms\n' "tlImport.dll FFBM import (median)" "$dll_ms"
printf '  %-44s %10s ms\n' "the same from a private copy (median)" "$copy_ms"
printf '  %-44s %10s ms\n' "Python sqlite3 pass (median)" "$python_ms"
awk -v a="$dll_ms" -v b="$python_ms" 'BEGIN { printf "  ratio FFBM import / Python sqlite3: %.2f\n", a / b }'

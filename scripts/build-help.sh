#!/usr/bin/env bash
# Compiles the help file: the pages in help/ are kept in UTF-8 and are converted to Shift_JIS
# (what the HTML Help viewer of a Japanese system expects) before chmcmd compiles them.
# Usage: scripts/build-help.sh <help source folder> <work folder> <output .chm>
set -euo pipefail
src=$1 work=$2 out=$3

rm -rf "$work"
mkdir -p "$work"
for file in "$src"/*.html "$src"/*.hhc "$src"/*.hhk "$src"/*.hhp; do
    # iconv fails on a character that Shift_JIS lacks: the page must be mended, not mangled.
    iconv -f UTF-8 -t CP932 "$file" >"$work/$(basename "$file")"
done
cp "$src"/*.css "$work/"
(cd "$work" && chmcmd --verbosity 1 Tolvak.hhp >chmcmd.log 2>&1) || { cat "$work/chmcmd.log" >&2; exit 1; }
cp "$work/Tolvak.chm" "$out"

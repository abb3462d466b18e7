#!/bin/sh
# Checks the compiled help file with chmls: the topics the programs open are there (the default
# topic for F1, the bar's and the toolbar's topics, the settings tool's "IE 1" page), every page
# has a title and is in the table of contents, the index is there, the language is Japanese.
# Usage: check_help.sh <Tolvak.chm>
set -eu
chm=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

chmls -n list "$chm" >"$work/list" 2>/dev/null
chmls printsystem "$chm" >"$work/system" 2>/dev/null

default_topic=$(sed -n 's/^(2) *Default topic from \[options\] *:\([^ ]*\).*/\1/p' "$work/system")
[ -n "$default_topic" ] || fail "no default topic"
for topic in "/$default_topic" /ex_index.html /f_addietoolbar.html /pdlg_ie1.html /Tolvak.hhc /Tolvak.hhk; do
    grep -qx "$topic" "$work/list" || fail "$topic missing"
done
grep -q 'LCID from HHP file *: 1041$' "$work/system" || fail "language is not Japanese (0x411)"

chmls extract "$chm" /Tolvak.hhc "$work/toc" >/dev/null 2>&1 || fail "no table of contents"
for page in $(grep '\.html$' "$work/list"); do
    chmls extract "$chm" "$page" "$work/page" >/dev/null 2>&1 || { fail "$page cannot be extracted"; continue; }
    # Pages are Shift_JIS; a title must survive the conversion and not be empty.
    title=$(iconv -f CP932 -t UTF-8 "$work/page" | tr -d '\r\n' | sed -n 's:.*<title>\(.*\)</title>.*:\1:p')
    [ -n "$title" ] || fail "$page has no title"
    grep -q "value=\"${page#/}\"" "$work/toc" || fail "$page is not in the table of contents"
done
[ $status -eq 0 ] && echo "help file OK: $(grep -c '\.html$' "$work/list") pages"
exit $status

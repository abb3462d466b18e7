#!/bin/sh
# Checks the XML documents that the export tests wrote into $1: each must be well-formed XML in
# Shift_JIS, and its elements and attributes must read back as the "<name>.expected" file beside
# it says (lines of element, tab, attribute values separated by tabs), both read as Shift_JIS
# (where 0x5C is a yen sign, not the backslash of code page 932). A "<name>.expected-utf8" file
# is read as UTF-8 instead, for characters that Shift_JIS has no bytes for.
# Runs natively on Linux (xmllint from libxml2-utils), not under Wine.
set -eu
samples=${1:?folder of samples}
command -v xmllint >/dev/null || { echo "xmllint missing: apt-get install libxml2-utils" >&2; exit 1; }

value() {  # value FILE XPATH
    xmllint --xpath "string($2)" "$1"
}

checked=0
for xml in "$samples"/*.xml; do
    [ -e "$xml" ] || break
    xmllint --noout "$xml"
    expected=${xml%.xml}.expected
    if [ -e "$expected-utf8" ]; then
        expected_text=$(cat "$expected-utf8")
    else
        expected_text=$(iconv -f SHIFT_JIS -t UTF-8 "$expected")
    fi
    actual=$(
        count=$(value "$xml" 'count(//*)')
        i=1
        while [ "$i" -le "${count%.*}" ]; do
            node="(//*)[$i]"
            name=$(value "$xml" "name($node)")
            case $name in
                ルート) printf '%s\t%s\n' "$name" "$(value "$xml" "$node/@パス")" ;;
                フォルダ) printf '%s\t%s\n' "$name" "$(value "$xml" "$node/@名前")" ;;
                アイテム) printf '%s\t%s\t%s\n' "$name" "$(value "$xml" "$node/@名前")" "$(value "$xml" "$node/@url")" ;;
                *) printf 'unexpected element %s\n' "$name" ;;
            esac
            i=$((i + 1))
        done
    )
    if [ "$actual" != "$expected_text" ]; then
        echo "$xml does not read back as expected:" >&2
        printf '%s\n' "$actual" >&2
        exit 1
    fi
    checked=$((checked + 1))
done
[ "$checked" -gt 0 ] || { echo "no XML samples in $samples" >&2; exit 1; }
echo "$checked XML samples well-formed and read back as written"

#!/usr/bin/env bash
# Runs the whole test suite under Wine in a fresh prefix and prints ctest's summary.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
. "$root/scripts/wine-env.sh"

rm -rf "$build/test-prefix"
wine_env_start "$build/test-prefix"

cd "$build"
status=0
# One test at a time: window and end-to-end tests share the display's one cursor and foreground.
ctest --output-on-failure --timeout 120 || status=$?
exit $status

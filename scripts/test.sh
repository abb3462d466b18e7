#!/usr/bin/env bash
# Runs the whole test suite under Wine and prints ctest's summaries; fails when any test fails.
#
# The suite runs in shards side by side (TOLVAK_TEST_SHARDS, default one per core, 2 to 4), each with
# its own Wine prefix (build/test-prefix-N), virtual display (searched from
# TOLVAK_TEST_DISPLAY_BASE + 10N, base 90) and wineserver. Within a shard tests
# run one at a time: window and end-to-end tests share the display's one cursor and foreground.
# Tests that hand files to each other through a ctest fixture run afterwards in shard 1.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
cores="$(nproc 2>/dev/null || echo 2)"
shards="${TOLVAK_TEST_SHARDS:-$((cores < 2 ? 2 : cores > 4 ? 4 : cores))}"
fixtures='_samples$|_wellformed$'

rm -rf "$build"/test-prefix "$build"/test-prefix-[0-9]*

# One shard's environment; the functions of wine-env.sh keep their state in the subshell.
in_shard() {   # $1: shard number, then the command
    local n=$1
    shift
    (
        . "$root/scripts/wine-env.sh"
        wine_env_start "$build/test-prefix-$n" $((${TOLVAK_TEST_DISPLAY_BASE:-90} + 10 * n))
        cd "$build"
        "$@"
    )
}

# The test lists come from the test programs themselves (run under Wine); list them once, so the
# shards only read them.
in_shard 1 ctest -N >/dev/null

pids=()
for n in $(seq 1 "$shards"); do
    in_shard "$n" ctest --output-on-failure --timeout 120 -I "$n,,$shards" -E "$fixtures" \
        >"$build/test-shard-$n.log" 2>&1 &
    pids+=($!)
done
status=0
for n in $(seq 1 "$shards"); do
    wait "${pids[$((n - 1))]}" || status=1
    echo "=== shard $n of $shards"
    cat "$build/test-shard-$n.log"
done
echo "=== tests that share files through fixtures"
in_shard 1 ctest --output-on-failure --timeout 120 -R "$fixtures" || status=1
exit $status

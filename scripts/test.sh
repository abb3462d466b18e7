#!/usr/bin/env bash
# Runs the whole test suite under Wine and prints ctest's summaries; fails when any test fails.
#
# Each test program runs as one process (a Wine process costs over a second to start); the long
# tests that tests/CMakeLists.txt names run in processes of their own. The suite runs in shards
# side by side (TOLVAK_TEST_SHARDS, default one per core, 2 to 4), each with its own Wine prefix
# (build/test-prefix-N), virtual display (searched from TOLVAK_TEST_DISPLAY_BASE + 10N, base 90)
# and wineserver. Within a shard tests run one at a time: window and end-to-end tests share the
# display's one cursor and foreground. The entries are spread over the shards by their COST, the
# longest first onto the shard with the least so far; a test that needs files from a ctest fixture
# goes with it into the same shard (ctest adds the fixture's set-up itself).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
cores="$(nproc 2>/dev/null || echo 2)"
shards="${TOLVAK_TEST_SHARDS:-$((cores < 2 ? 2 : cores > 4 ? 4 : cores))}"

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

# One line per shard: the regular expression that selects its tests.
mapfile -t selections < <(cd "$build" && ctest --show-only=json-v1 | python3 -c '
import json, re, sys
shards = int(sys.argv[1])
tests = []
for test in json.load(sys.stdin)["tests"]:
    props = {p["name"]: p["value"] for p in test.get("properties", [])}
    if "FIXTURES_SETUP" not in props:   # a set-up runs with the tests that require it
        tests.append((float(props.get("COST", 3)), test["name"]))
loads = [[0.0, []] for _ in range(shards)]
for cost, name in sorted(tests, reverse=True):
    shard = min(loads, key=lambda load: load[0])
    shard[0] += cost
    shard[1].append(re.escape(name))
for _, names in loads:
    print("^(" + "|".join(names) + ")$" if names else "^$")
' "$shards")

pids=()
for n in $(seq 1 "$shards"); do
    in_shard "$n" ctest --output-on-failure --timeout 120 -R "${selections[$((n - 1))]}" \
        >"$build/test-shard-$n.log" 2>&1 &
    pids+=($!)
done
status=0
for n in $(seq 1 "$shards"); do
    wait "${pids[$((n - 1))]}" || status=1
    echo "=== shard $n of $shards"
    cat "$build/test-shard-$n.log"
done
exit $status

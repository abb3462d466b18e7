#!/usr/bin/env bash
# Every benchmark in one run (`make bench`): each script below runs once, in the order it first
# appears, with its whole output shown; then every ratio is listed beside its goal.
#
# A benchmark is one line of the table: the script (in scripts/), the start of the line on which it
# prints a ratio, and the goal ("<= 1.3": at most, ">= 8": at least). A pattern of "-" passes the
# script's own ratio and goal lines through as they are (for a script that states its goals).
# BENCH_ONLY=<script> runs the lines of one script alone; BENCH_DISPLAY is the first X display
# the scripts try.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

benchmarks=(
    # script              | ratio line starts with                          | goal
    "tree-load-bench.sh   | ratio load/walk (median):                       | <= 1.3"
    "tree-load-bench.sh   | ratio load/walk, \"big\" only (median):          | <= 1.5"
    "tree-load-bench.sh   | ratio load/(walk + bare control), \"big\" only (median): | <= 1.3"
    "import-bench.sh      | ratio Python html.parser / NSBM import:         | >= 25"
    "import-bench.sh      | ratio Python json / CRBM import:                | >= 8"
    "import-bench.sh      | ratio tree import / bare tree:                  | <= 1.3"
    "search-bench.sh      | -                                               | -"
    "linkcheck-bench.sh   | ratio                                           | <= 1.1"
    "firefox-bench.sh     | ratio FFBM import / Python sqlite3:             | <= 1"
)

logs="$root/build/bench-logs"
mkdir -p "$logs"
field() { echo "$1" | awk -F'|' -v n="$2" '{ gsub(/^ +| +$/, "", $n); print $n }'; }

# --- Run -----------------------------------------------------------------------------------------
declare -A done=()
for row in "${benchmarks[@]}"; do
    script="$(field "$row" 1)"
    [ -n "${done[$script]:-}" ] && continue
    [ -n "${BENCH_ONLY:-}" ] && [ "$BENCH_ONLY" != "$script" ] && continue
    done[$script]=1
    echo "=== $script"
    "$root/scripts/$script" 2>&1 | tee "$logs/$script.log"
    echo "$script exit status: ${PIPESTATUS[0]}" >>"$logs/$script.log"
    echo
done

# --- Ratios beside their goals -------------------------------------------------------------------
echo "=== Ratios and goals"
printf '  %-20s %-42s %8s %8s\n' "" "" "ratio" "goal"
for row in "${benchmarks[@]}"; do
    script="$(field "$row" 1)" pattern="$(field "$row" 2)" goal="$(field "$row" 3)"
    [ -n "${done[$script]:-}" ] || continue
    log="$logs/$script.log"
    if [ "$pattern" = "-" ]; then
        grep -iE 'ratio|goal' "$log" | sed "s/^ */  $script: /" || printf '  %-20s %s\n' "$script" "no ratio"
        continue
    fi
    # The number right after the pattern on the first line that has it.
    value="$(awk -v p="$pattern" 'index($0, p) { rest = substr($0, index($0, p) + length(p)); if (match(rest, /[0-9]+(\.[0-9]+)?/)) { print substr(rest, RSTART, RLENGTH); exit } }' "$log")"
    if [ -z "$value" ]; then
        printf '  %-20s %-42s %8s %8s  %s\n' "$script" "${pattern%:}" "-" "$goal" "(no result: see $log)"
        continue
    fi
    verdict="$(awk -v v="$value" -v op="${goal%% *}" -v g="${goal##* }" \
        'BEGIN { ok = (op == "<=") ? v <= g : v >= g; print ok ? "met" : "NOT MET" }')"
    printf '  %-20s %-42s %8s %8s  %s\n' "$script" "${pattern%:}" "$value" "$goal" "$verdict"
done

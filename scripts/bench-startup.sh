#!/usr/bin/env bash
# Benchmark, not a test: time from a program's start to its visible window, for a bare
# dialog program (tests/e2e/bare_dialog) and for Quillet.exe (32-bit) on an empty project file
# and on files of 10,000 and 100,000 projects, under Wine on a private Xvfb. The scenes take
# turns (Quillet's three in a rotating order), RUNS rounds (default 11) after one round not
# counted; prints min/median/max in ms and the median ratio to the bare dialog's start of the
# same round, with the goals beside.
#   RUNS=11 bash scripts/bench-startup.sh       after: bash scripts/build.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/bench-lib.sh"
require_built "$exe" "$driver" "$bare"
start_wine_env "$build/bench-startup"
export BENCH_RUNS=${RUNS:-11}

output=$(run_scene bench.startup | tr -d '\r')
if ! grep -q '^\[ PASS \]' <<<"$output"; then
    echo "$output" >&2
    echo "bench-startup.sh: the scene failed" >&2
    exit 1
fi

figures() { awk -v s="$1" '$1 == "BENCH-STARTUP" && $2 == s { print $3 }' <<<"$output"; }
# Each start against the bare dialog's start of the same round: the machine's pace drifts over
# a run, and a round's starts follow each other within a few seconds.
ratios() {
    awk -v s="$1" '$1 == "BENCH-STARTUP" { ms[$2, $4] = $3; rounds[$4] = 1 }
        END { for (r in rounds)
                  if ((s, r) in ms && ("bare", r) in ms) print ms[s, r] / ms["bare", r] }' \
        <<<"$output"
}
echo "Start to visible window, $BENCH_RUNS runs each (ms; ratio: the median of each round's start"
echo "against the bare dialog's start of that round)"
printf '%-22s %8s %8s %8s %7s   %s\n' scene min median max ratio goal
for scene in bare empty 10k 100k; do
    read -r lo mid hi < <(figures "$scene" | min_median_max)
    case $scene in
    bare) label="bare dialog" goal="(baseline)" ;;
    empty) label="Quillet, empty file" goal="(level with the bare dialog)" ;;
    10k) label="Quillet, 10k projects" goal="<= 1.2x" limit=1.2 ;;
    100k) label="Quillet, 100k projects" goal="<= 3x" limit=3 ;;
    esac
    read -r _ ratio _ < <(ratios "$scene" | min_median_max)
    ratio=$(printf '%.2f' "$ratio")
    verdict=""
    if [[ $scene == 10k || $scene == 100k ]]; then
        verdict=$(awk -v r="$ratio" -v l="$limit" 'BEGIN { print (r <= l ? "met" : "NOT met") }')
    fi
    printf '%-22s %8.1f %8.1f %8.1f %6sx   %s %s\n' "$label" "$lo" "$mid" "$hi" "$ratio" "$goal" \
        "$verdict"
done

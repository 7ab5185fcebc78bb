#!/usr/bin/env bash
# Benchmark, not a test: how much processor time Quillet.exe (32-bit, under Wine on a private
# Xvfb) uses while a count runs, against a bare static dialog program measured in the same
# rounds. Each round starts side by side: the bare dialog (idle); Quillet counting on files of
# 1, 10,000 and 100,000 projects; and Quillet counting on 1 project with the "Please stop
# counter first" box open for the middle half of the window (reported apart). Once all count
# steadily, the processor time of each process is read at the start and the end of a window
# of WINDOW seconds (default 60, so that it holds one minute checkpoint), in which the driver
# only waits. Start-up, display polling and the stop's save fall outside the window. RUNS
# rounds (default 3); prints min/median/max in percent of one core, with the goals beside.
#   RUNS=3 WINDOW=60 bash scripts/bench-counting.sh       after: bash scripts/build.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/bench-lib.sh"
require_built "$exe" "$driver" "$bare"
start_wine_env "$build/bench-counting"
export BENCH_WINDOW=${WINDOW:-60}
runs=${RUNS:-3}
results=$state/results
: >"$results"

# The wineserver of the benchmark's prefix works in a folder named after the prefix's device
# and inode: <Wine's temporary folder>/server-<dev>-<inode>, both in hex.
wineserver_pid() {
    local folder server
    folder=server-$(stat -c '%D' "$state/prefix")-$(printf '%x' "$(stat -c '%i' "$state/prefix")")
    for server in $(pgrep -x 'wineserver(32|64)?' || true); do
        if [[ $(readlink "/proc/$server/cwd" 2>/dev/null) == */"$folder" ]]; then
            echo "$server"
            return 0
        fi
    done
    echo 0
}

# Percent of one core: nanoseconds of processor time over nanoseconds of wall time.
percent() {
    awk -v c="$1" -v w="$2" 'BEGIN { printf "%.4f", 100 * c / w }'
}

# One round: reads the driver's lines, samples at its marks, appends "<label> <percent>" lines
# to the results.
run_round() {
    local -A path pids cpu0
    local labels=() line label wall0=0 wall server=0 server0=0
    run_scene bench.counting | while IFS= read -r line; do
        line=${line%$'\r'}
        case $line in
        "BENCH-EXE "*)
            line=${line#BENCH-EXE }
            labels+=("${line%% *}")
            path[${line%% *}]=${line#* }
            ;;
        "BENCH-SAMPLE begin")
            server=$(wineserver_pid)
            for label in "${labels[@]}"; do
                pids[$label]=$(find_pid "${path[$label]}") ||
                    { echo "not found: ${path[$label]}" >&2; exit 1; }
            done
            server0=$(cpu_ns "$server")
            for label in "${labels[@]}"; do cpu0[$label]=$(cpu_ns "${pids[$label]}"); done
            wall0=$(date +%s%N)
            touch "$scratch/begin.done"
            ;;
        "BENCH-SAMPLE end")
            wall=$(($(date +%s%N) - wall0))
            for label in "${labels[@]}"; do
                echo "$label $(percent $(($(cpu_ns "${pids[$label]}") - cpu0[$label])) "$wall")"
            done >>"$results"
            echo "wineserver $(percent $(($(cpu_ns "$server") - server0)) "$wall")" >>"$results"
            touch "$scratch/end.done"
            ;;
        "BENCH-SAVED "*) echo "  ${line#BENCH-SAVED }" ;;
        "[ PASS ]"* | "[ RUN  ]"*) ;;
        "[ FAIL ]"*) echo "  driver: $line" >&2; exit 1 ;;
        *) echo "  driver: $line" ;;
        esac
    done
}

for round in $(seq "$runs"); do
    echo "round $round of $runs: a $BENCH_WINDOW s window"
    run_round
done

figures() { awk -v s="$1" '$1 == s { print $2 }' "$results"; }
row() {
    local lo mid hi
    read -r lo mid hi < <(figures "$1" | min_median_max)
    printf '%-34s %8.4f %8.4f %8.4f   %s\n' "$2" "$lo" "$mid" "$hi" "$3"
}
read -r _ one _ < <(figures 1 | min_median_max)
read -r _ hundred _ < <(figures 100k | min_median_max)
goal=$(awk -v a="$hundred" -v b="$one" 'BEGIN {
    printf "<= 1-project median + 0.005 = %.4f: %s", b + 0.005, (a <= b + 0.005 ? "met" : "NOT met") }')

echo
echo "Processor time while counting, % of one core over a $BENCH_WINDOW s window, $runs rounds"
printf '%-34s %8s %8s %8s   %s\n' scene min median max goal
row bare "bare dialog, idle" "(baseline)"
row 1 "Quillet counting, 1 project" "(reference for 100k)"
row 10k "Quillet counting, 10k projects" ""
row 100k "Quillet counting, 100k projects" "$goal"
row wineserver "wineserver (shared by all above)" ""
echo
echo "Apart: the message box open for the middle half of the window"
row 1+box "Quillet counting, 1 project, box" "(against the 1-project row)"

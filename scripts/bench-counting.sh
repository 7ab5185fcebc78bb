#!/usr/bin/env bash
# Benchmark, not a test: how much processor time Quillet.exe (32-bit, under Wine on a private
# Xvfb) uses while a count runs, against a bare timer dialog (tests/e2e/bare_dialog: HH:MM:SS
# into a static once a second) measured in the same rounds, and whether its run counter goes on
# under modal loops. Each round starts side by side: the bare dialog shown and a second one
# hidden; Quillet counting, shown, on files of 1 and 10,000 projects and on the last of 100,000;
# Quillet counting on 1 project hidden in the notification area; and two Quillets counting on 1
# project, one under the "Please stop counter first" box and one in the system's keyboard move
# loop. Once all count steadily, the processor time of each process is read at the start and
# the end of a window of WINDOW seconds (default 60, so that it holds a flush to disk), in which
# the driver only reads the last two run counters five times a second from the window
# manager's copy of their text. Start-up, the modal loops' opening and closing, and the stop's
# save fall outside the window. RUNS rounds (default 3); prints min/median/max in percent of one
# core and the median of each program's wake-ups a second, the goals as ratios of figures of
# the same round (median of the rounds, with min and max), and for the two modal loops whether
# the run counter advanced every second.
#   RUNS=3 WINDOW=60 bash scripts/bench-counting.sh       after: bash scripts/build.sh win32
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/bench-lib.sh"
require_built "$exe" "$driver" "$bare"
start_wine_env "$build/bench-counting"
export BENCH_WINDOW=${WINDOW:-60}
runs=${RUNS:-3}
results=$state/results
: >"$results"
moved=$state/moved
: >"$moved"
wakes=$state/wakes
: >"$wakes"

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

# One round: reads the driver's lines, samples at its marks, appends "<round> <label>
# <percent>" lines to the results and "<round> <label> <seen> <seconds> <longest still ms>
# <yes|no>" lines to the moved file.
run_round() {
    local round=$1
    local -A path pids cpu0 wakes0
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
            for label in "${labels[@]}"; do
                cpu0[$label]=$(cpu_ns "${pids[$label]}")
                wakes0[$label]=$(wakeups "${pids[$label]}")
            done
            wall0=$(date +%s%N)
            touch "$scratch/begin.done"
            ;;
        "BENCH-SAMPLE end")
            wall=$(($(date +%s%N) - wall0))
            for label in "${labels[@]}"; do
                echo "$round $label $(percent $(($(cpu_ns "${pids[$label]}") - cpu0[$label])) "$wall")"
                echo "$round $label $(($(wakeups "${pids[$label]}") - wakes0[$label])) $wall" \
                    >>"$wakes"
            done >>"$results"
            echo "$round wineserver $(percent $(($(cpu_ns "$server") - server0)) "$wall")" >>"$results"
            touch "$scratch/end.done"
            ;;
        "BENCH-MOVED "*) echo "$round ${line#BENCH-MOVED }" >>"$moved" ;;
        "BENCH-SAVED "*) echo "  ${line#BENCH-SAVED }" ;;
        "[ PASS ]"* | "[ RUN  ]"*) ;;
        "[ FAIL ]"*) echo "  driver: $line" >&2; exit 1 ;;
        *) echo "  driver: $line" ;;
        esac
    done
}

for round in $(seq "$runs"); do
    echo "round $round of $runs: a $BENCH_WINDOW s window"
    run_round "$round"
done

figures() { awk -v s="$1" '$2 == s { print $3 }' "$results"; }
# Per round, the first figure over the second.
ratios() {
    awk -v a="$1" -v b="$2" '$2 == a { x[$1] = $3 } $2 == b { y[$1] = $3 }
        END { for (r in x) if (r in y && y[r] > 0) print x[r] / y[r] }' "$results"
}
# Wake-ups a second, median of the rounds.
wake_rate() {
    awk -v s="$1" '$2 == s { printf "%.2f\n", $3 / ($4 / 1e9) }' "$wakes" | min_median_max |
        awk '{ print $2 }'
}
row() {
    local lo mid hi rate=""
    read -r lo mid hi < <(figures "$1" | min_median_max)
    [[ $1 == wineserver ]] || rate=$(wake_rate "$1")
    printf '%-52s %8.4f %8.4f %8.4f %8s\n' "$2" "$lo" "$mid" "$hi" "$rate"
}
ratio_row() {
    local lo mid hi
    read -r lo mid hi < <(ratios "$1" "$2" | min_median_max)
    awk -v t="$3" -v lo="$lo" -v mid="$mid" -v hi="$hi" -v goal="$4" 'BEGIN {
        printf "%-40s %6.3fx (%.3f-%.3f)   %-8s %s\n", t, mid, lo, hi, goal,
            (mid <= 1.1 ? "met" : "NOT met") }'
}
moved_row() {
    awk -v s="$1" -v t="$2" '$2 == s { n++; if ($6 == "yes") yes++
            seen = seen sep $3 " of " $4; sep = ", "; if ($5 > still) still = $5 }
        END { printf "%-40s %s (%s seconds seen; longest still %.1f s)   %s\n", t,
                  (n && yes == n ? "yes" : "no"), seen, still / 1000,
                  (n && yes == n ? "met" : "NOT met") }' "$moved"
}

echo
echo "Processor time while counting, % of one core over a $BENCH_WINDOW s window, $runs rounds"
printf '%-52s %8s %8s %8s %8s\n' scene min median max wakes/s
row bare "bare timer dialog, shown"
row bare-hidden "bare timer dialog, hidden"
row 1 "Quillet counting, 1 project"
row 10k "Quillet counting, 10k projects (the first)"
row 100k-last "Quillet counting, the last of 100k projects"
row 1-hidden "Quillet counting, 1 project, in notification area"
row 1+box "Quillet counting, 1 project, under a message box"
row 1+move "Quillet counting, 1 project, window being moved"
row wineserver "wineserver (shared by all above)"
echo
echo "Goals: ratio of the same round (median, min-max of $runs rounds)      goal"
ratio_row 1 bare "Quillet shown / bare shown" "<= 1.1x"
ratio_row 1-hidden bare-hidden "Quillet hidden / bare hidden" "<= 1.1x"
ratio_row 100k-last 1 "last of 100k / 1 project" "<= 1.1x"
echo "Run counter moved every second (every round)"
moved_row 1+box "under the message box"
moved_row 1+move "while the window is moved"

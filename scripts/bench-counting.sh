#!/usr/bin/env bash
# Benchmark, not a test: how much processor time Quillet uses while a count runs, and how
# closely the counted time follows the running time. Runs Quillet.exe (32-bit) under Wine on a
# private Xvfb, driven by the end-to-end driver's bench scenes, for two minutes of counting:
#   1. one minute of counting;
#   2. one minute with the "Please stop counter first" box left open from 15 s to 45 s.
# For each it prints the processor seconds the Quillet process used over the minute (utime +
# stime of its Linux process: GetProcessTimes gives zeros under Wine), those of the wineserver,
# and the counted time (display and saved total) against the running time.
#   bench-counting.sh           after: bash scripts/build.sh
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/win32
exe=$build/src/main/Quillet.exe
driver=$build/tests/e2e/quillet_e2e.exe
if [[ ! -f $exe || ! -f $driver ]]; then
    echo "bench-counting.sh: $exe or $driver is missing; build first: bash scripts/build.sh" >&2
    exit 2
fi

state=$build/bench-counting
scratch=$state/scratch
env_script=$root/tests/e2e/wine-env.sh
mkdir -p "$scratch"
bash "$env_script" start "$state" >/dev/null
trap 'bash "$env_script" stop "$state" >/dev/null' EXIT
hz=$(getconf CLK_TCK)

# The Linux process whose first argument is the given Windows path of the exe.
find_pid() {
    local want=$1 file arg
    for file in /proc/[0-9]*/cmdline; do
        IFS= read -r -d '' arg <"$file" 2>/dev/null || true
        if [[ $arg == "$want" ]]; then
            file=${file#/proc/}
            echo "${file%/cmdline}"
            return 0
        fi
    done
    return 1
}

# The wineserver of the bench's own prefix works in a folder named after the prefix's device
# and inode: <Wine's temporary folder>/server-<dev>-<inode>, both in hex.
wineserver_pid() {
    local folder pid
    folder=server-$(stat -c '%D' "$state/prefix")-$(printf '%x' "$(stat -c '%i' "$state/prefix")")
    for pid in $(pgrep -x wineserver32 || pgrep -x wineserver || true); do
        if [[ $(readlink "/proc/$pid/cwd" 2>/dev/null) == */"$folder" ]]; then
            echo "$pid"
            return 0
        fi
    done
    echo 0
}

# utime + stime in clock ticks; the fields after the command name, which is in parentheses.
cpu_ticks() {
    local stat
    [[ $1 != 0 ]] && stat=$(cat "/proc/$1/stat" 2>/dev/null) || { echo 0; return; }
    stat=${stat##*) }
    read -r -a fields <<<"$stat"
    echo $((fields[11] + fields[12]))
}

run_scene() {
    local scene=$1 title=$2
    echo "== $title"
    bash "$root/tests/e2e/wine-run.sh" "$state" "$driver" --exe "$exe" --scratch "$scratch" \
        --case "$scene" 2>&1 | {
        local winexe="" pid=0 server=0 wall0=0 cpu0=0 server0=0
        while IFS= read -r line; do
            line=${line%$'\r'}
            case $line in
            "BENCH-EXE "*) winexe=${line#BENCH-EXE } ;;
            "BENCH-SAMPLE begin")
                pid=$(find_pid "$winexe") || { echo "Quillet's process not found" >&2; exit 1; }
                server=$(wineserver_pid)
                [[ $server != 0 ]] || echo "  (the wineserver was not found; its figure is left at 0)"
                wall0=$(date +%s%N) cpu0=$(cpu_ticks "$pid") server0=$(cpu_ticks "$server")
                touch "$scratch/begin.done"
                ;;
            "BENCH-SAMPLE end")
                local wall=$(($(date +%s%N) - wall0)) cpu=$(($(cpu_ticks "$pid") - cpu0))
                local served=$(($(cpu_ticks "$server") - server0))
                touch "$scratch/end.done"
                awk -v w="$wall" -v c="$cpu" -v s="$served" -v hz="$hz" 'BEGIN {
                    printf "  measured over:             %.1f s of counting (from its first second to the stop)\n", w / 1e9
                    printf "  Quillet.exe processor:     %.2f s (%.2f%% of one core)\n", c / hz, 100 * c / hz / (w / 1e9)
                    printf "  wineserver processor:      %.2f s (shared with the driver, which sleeps meanwhile)\n", s / hz
                }'
                ;;
            "BENCH "*) echo "  ${line#BENCH }" ;;
            "[ PASS ]"* | "[ RUN  ]"*) ;;
            *) echo "  driver: $line" ;;
            esac
        done
    }
}

run_scene bench.counting_one_minute "one minute of counting"
run_scene bench.counting_one_minute_with_a_message_box \
    "one minute of counting, a message box open from 15 s to 45 s"

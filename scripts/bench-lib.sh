# Shared by scripts/bench-*.sh (sourced, not run): the built programs, a private Wine
# environment for the benchmark, the driver's scenes, processor times from /proc, and the
# min/median/max of a list of figures.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/win32
exe=$build/src/main/Quillet.exe
driver=$build/tests/e2e/quillet_e2e.exe
bare=$build/tests/e2e/bare_dialog.exe

require_built() {
    local file
    for file in "$@"; do
        if [[ ! -f $file ]]; then
            echo "$(basename "$0"): $file is missing; build first: bash scripts/build.sh" >&2
            exit 2
        fi
    done
}

# Starts Xvfb, the Wine prefix and the wineserver in <state>, and stops them when the script
# ends.
start_wine_env() {
    state=$1
    scratch=$state/scratch
    mkdir -p "$scratch"
    bash "$root/tests/e2e/wine-env.sh" start "$state" >/dev/null
    trap 'bash "$root/tests/e2e/wine-env.sh" stop "$state" >/dev/null' EXIT
}

# Runs one of the driver's scenes; its output goes to standard output as it comes, lines
# ending in CR LF.
run_scene() {
    bash "$root/tests/e2e/wine-run.sh" "$state" "$driver" --exe "$exe" --scratch "$scratch" \
        --case "$1" 2>&1
}

# The Linux process whose first argument is the given Windows path.
find_pid() {
    local want=$1 file arg
    for file in /proc/[0-9]*/cmdline; do
        arg=$(cut -d '' -f 1 "$file" 2>/dev/null) || continue
        if [[ $arg == "$want" ]]; then
            file=${file#/proc/}
            echo "${file%/cmdline}"
            return 0
        fi
    done
    return 1
}

# Processor time of a process in nanoseconds: the run times of its threads from
# /proc/<pid>/task/*/schedstat (nanosecond counts; /proc/<pid>/stat counts 10 ms ticks, too
# coarse for an idle program over a minute). GetProcessTimes gives zeros under Wine.
cpu_ns() {
    local total=0 file run rest
    for file in /proc/"$1"/task/*/schedstat; do
        read -r run rest <"$file" 2>/dev/null || continue
        total=$((total + run))
    done
    echo "$total"
}

# min, median and max of the numbers on standard input, one per line.
min_median_max() {
    sort -g | awk '{ v[NR] = $1 } END {
        if (NR == 0) { print "- - -"; exit }
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        print v[1], m, v[NR]
    }'
}

# How often a process was put on a processor, summed over its threads: the third field of
# /proc/<pid>/task/*/schedstat. For an idle program, its wake-ups.
wakeups() {
    local total=0 file run wait count
    for file in /proc/"$1"/task/*/schedstat; do
        read -r run wait count <"$file" 2>/dev/null || continue
        total=$((total + count))
    done
    echo "$total"
}

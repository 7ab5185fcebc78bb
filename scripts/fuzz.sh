#!/usr/bin/env bash
# Fuzzes the project file's reader and operations for the given time (default 60 s) with
# libFuzzer, starting from the seed corpus tests/fuzz/corpus, and prints the executions, the
# coverage (cov: code edges, ft: features) and the crashes found:
#   fuzz.sh [seconds]      after: bash scripts/build.sh (which builds build/fuzz with clang)
# Inputs that reach new coverage go to build/fuzz/corpus-found (kept between runs); a crash is
# written to build/fuzz/artifacts/ and can be replayed with: build/fuzz/projectfile_fuzz <file>.
# Exits non-zero when the fuzzer found a crash.
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/fuzz
fuzzer=$build/projectfile_fuzz
if [[ ! -x $fuzzer ]]; then
    echo "fuzz.sh: $fuzzer is missing; build first: bash scripts/build.sh" >&2
    exit 2
fi
found=$build/corpus-found
artifacts=$build/artifacts
mkdir -p "$found" "$artifacts"
log=$build/fuzz-$(date +%Y%m%d-%H%M%S).log

echo "fuzz.sh: fuzzing for $seconds s, log in $log"
status=0
"$fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$found" "$root/tests/fuzz/corpus" >"$log" 2>&1 || status=$?

last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
crashes=$(grep -c '^artifact_prefix=.*Test unit written to' "$log" || true)
echo "executions: ${executions:-?}"
echo "coverage:   cov ${cov:-?} ft ${ft:-?} (corpus of $(ls "$found" | wc -l) found inputs)"
echo "crashes:    $crashes"
if [[ $status -ne 0 ]]; then
    grep -E 'check failed|ERROR: |SUMMARY: |Test unit written' "$log" || true
    echo "fuzz.sh: the fuzzer stopped with status $status"
fi
exit $status

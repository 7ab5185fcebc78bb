#!/usr/bin/env bash
# Crash test: kills Quillet.exe (32-bit, under Wine on a private Xvfb) at random moments while
# it saves a stop, a create or a delete, or while its start rolls back a change that a crash cut
# short (a journal and a half-changed file), <kills> times (default 100). After each kill it
# starts the program again and checks that the project file holds exactly its old or its new
# content (after a rollback its old one) and that no journal or other file is left in the
# program's folder. Prints each kill and, per operation, how many left the old and how many the
# new content. The test suite runs the same driver case with 10 kills.
#   crash-test.sh [kills] [seed]      after: bash scripts/build.sh
set -euo pipefail

kills=${1:-100}
seed=${2:-}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/win32
exe=$build/src/main/Quillet.exe
driver=$build/tests/e2e/quillet_e2e.exe
if [[ ! -f $exe || ! -f $driver ]]; then
    echo "crash-test.sh: $exe or $driver is missing; build first: bash scripts/build.sh" >&2
    exit 2
fi

state=$build/crash-test
scratch=$state/scratch
env_script=$root/tests/e2e/wine-env.sh
mkdir -p "$scratch"
bash "$env_script" start "$state" >/dev/null
trap 'bash "$env_script" stop "$state" >/dev/null' EXIT

args=(--exe "$exe" --scratch "$scratch" --kills "$kills"
      --case crash.killed_while_saving_leaves_the_old_or_the_new_file_and_no_other)
[[ -n $seed ]] && args+=(--seed "$seed")
started=$SECONDS
status=0
bash "$root/tests/e2e/wine-run.sh" "$state" "$driver" "${args[@]}" 2>&1 | tr -d '\r' || status=$?
echo "crash-test.sh: $kills kills in $((SECONDS - started)) s, $([[ $status -eq 0 ]] && echo passed || echo FAILED)"
exit $status

#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the native unit tests, the end-to-end
# tests of the 32-bit and the 64-bit Quillet.exe under Wine and Xvfb, and the release zips'
# checks. Exits non-zero on any failure.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
started=$SECONDS

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
built=$SECONDS

status=0
echo "== unit tests (build/native)"
(cd "$root/build/native" && ctest --output-on-failure -j "$(nproc)") || status=1
echo "== fuzz corpus replay (build/fuzz, libFuzzer)"
(cd "$root/build/fuzz" && ctest --output-on-failure) || status=1
# The two suites run side by side, each on its own Xvfb and prefix: their cases mostly wait
# for the program, so together they take little longer than one. Each log is shown when done.
echo "== end-to-end tests of the 32-bit and the 64-bit Quillet.exe, side by side"
times=()
begun=$SECONDS
pids=()
for arch in win32 win64; do
    (cd "$root/build/$arch" && ctest --output-on-failure -j "$(nproc)" >e2e.log 2>&1) &
    pids+=($!)
done
for i in 0 1; do
    wait "${pids[i]}" || status=1
done
for arch in win32 win64; do
    echo "== end-to-end tests (build/$arch, Wine under Xvfb, $arch prefix)"
    cat "$root/build/$arch/e2e.log"
done
times+=("e2e $((SECONDS - begun)) s")
echo "== release zips (scripts/check-package.sh)"
begun=$SECONDS
bash "$root/scripts/check-package.sh" || status=1
times+=("zips $((SECONDS - begun)) s")

echo "test.sh: setup and build $((built - started)) s, tests $((SECONDS - built)) s" \
    "(${times[*]})"
if [[ $status -ne 0 ]]; then
    echo "test.sh: FAILED"
fi
exit $status

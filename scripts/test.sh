#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the native unit tests, the end-to-end
# tests of the 32-bit and then the 64-bit Quillet.exe under Wine and Xvfb, and the release zips'
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
# Every case runs against the 32-bit exe; the 64-bit exe meets the groups where the pointer
# size or the file layer could make a difference.
win64_groups='^(release\.|e2e\.(environment|startup|counting|create|delete|overview|opening|tray|save|files|session|instance|crash)\.)'
times=()
for arch in win32 win64; do
    echo "== end-to-end tests (build/$arch, Wine under Xvfb, $arch prefix)"
    selection=()
    [[ $arch == win64 ]] && selection=(-R "$win64_groups")
    begun=$SECONDS
    # Five at once: the three lanes of Wine environments and the two screens of other DPI, whose
    # cases mostly wait on the program, each running one case at a time.
    (cd "$root/build/$arch" && ctest --output-on-failure -j 5 "${selection[@]}") || status=1
    times+=("$arch $((SECONDS - begun)) s")
done
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

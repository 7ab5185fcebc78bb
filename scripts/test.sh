#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the native unit tests, then the
# end-to-end tests of Quillet.exe under Wine and Xvfb. Exits non-zero on any failure.
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
echo "== end-to-end tests (build/win32, Wine under Xvfb)"
(cd "$root/build/win32" && ctest --output-on-failure -j "$(nproc)") || status=1

echo "test.sh: setup and build $((built - started)) s, tests $((SECONDS - built)) s"
if [[ $status -ne 0 ]]; then
    echo "test.sh: FAILED"
fi
exit $status

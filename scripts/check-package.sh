#!/usr/bin/env bash
# Checks the release zips as a user meets them (after bash scripts/build.sh; run by test.sh):
#  1. Reproducible: Quillet.exe built a second time in another folder (build/repro/) and packed
#     a second time gives zips byte for byte equal to those that package.sh put in dist/.
#     So are the Scoop and winget manifests, which name the zips and their SHA-256 (checked by
#     scripts/manifests.py check, run by package.sh).
#  2. Each zip unpacked starts as it is: the end-to-end driver starts Quillet.exe inside the
#     unpacked folder, in the win32 prefix for the 32-bit zip and the win64 prefix for the 64-bit
#     one, and expects the main dialog with no message box.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
repro=$root/build/repro
driver=$root/build/win32/tests/e2e/quillet_e2e.exe
e2e=$root/tests/e2e
version=$(cat "$root/build/win32/version.txt")
status=0

bash "$root/scripts/package.sh"
echo "== a second build of Quillet.exe in $repro, packed again"
rm -rf "$repro/dist" "$repro/unpacked" "$repro/scratch"
bash "$root/scripts/build.sh" --into "$repro" --target Quillet win32 win64 >/dev/null
bash "$root/scripts/package.sh" --trees "$repro" --out "$repro/dist" >/dev/null
for file in "$root"/dist/*.zip "$root/dist/SHA256SUMS" "$root/dist/quillet.json" \
    "$root"/dist/winget/*.yaml; do
    name=${file#"$root/dist/"}
    if cmp "$file" "$repro/dist/$name"; then
        echo "ok:     $name is the same in both builds"
    else
        echo "FAILED: $name differs between the two builds"
        status=1
    fi
done

for arch in win32 win64; do
    echo "== the $arch zip, unpacked, under Wine ($arch prefix)"
    folder=$repro/unpacked/$arch
    mkdir -p "$folder" "$repro/scratch"
    python3 -m zipfile -e "$root/dist/Quillet-$version-$arch.zip" "$folder"
    state=$root/build/$arch/wine-test
    bash "$e2e/wine-env.sh" start "$state" "$arch" >/dev/null
    bash "$e2e/wine-run.sh" "$state" "$driver" --exe "$folder/Quillet/Quillet.exe" \
        --scratch "$repro/scratch" --case release.unpacked_zip_opens_without_message || status=1
    bash "$e2e/wine-env.sh" stop "$state" >/dev/null
done
[[ $status -eq 0 ]] && echo "check-package.sh: passed" || echo "check-package.sh: FAILED"
exit $status

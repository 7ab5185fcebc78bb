#!/usr/bin/env bash
# Configures and builds the three trees:
#   build/native  the portable core and its unit tests (GoogleTest, AddressSanitizer, UBSan)
#   build/win32   Quillet.exe for 32-bit Windows, and the end-to-end test driver
#   build/win64   Quillet.exe for 64-bit Windows (its end-to-end tests use the 32-bit driver)
#   build/fuzz    the project file's libFuzzer target (clang), for scripts/fuzz.sh and ctest
#   build.sh [--into <folder>] [--target <target>] [native|win32|win64|fuzz...]
# --into builds the trees in another folder (scripts/check-package.sh builds a second copy of
# Quillet.exe there to compare bytes); --target builds one target only.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)
into=$root/build
target=()
trees=()
while [[ $# -gt 0 ]]; do
    case $1 in
    --into) into=$(mkdir -p "${2:?}" && cd "$2" && pwd); shift 2 ;;
    --target) target=(--target "${2:?}"); shift 2 ;;
    native | win32 | win64 | fuzz) trees+=("$1"); shift ;;
    *) echo "usage: build.sh [--into <folder>] [--target <target>] [native|win32|win64|fuzz...]" >&2
       exit 2 ;;
    esac
done
[[ ${#trees[@]} -gt 0 ]] || trees=(native win32 win64 fuzz)

build_tree() {
    local name=$1 source=${SOURCE:-$root}
    shift
    echo "== $into/$name"
    cmake -S "$source" -B "$into/$name" "$@" >/dev/null
    cmake --build "$into/$name" -j "$jobs" "${target[@]}"
}

for tree in "${trees[@]}"; do
    case $tree in
    native) build_tree native -DCMAKE_BUILD_TYPE=RelWithDebInfo ;;
    win32) build_tree win32 -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" ;;
    win64) build_tree win64 -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
        -DQUILLET_E2E_DRIVER="$into/win32/tests/e2e/quillet_e2e.exe" ;;
    fuzz) CC=clang CXX=clang++ SOURCE=$root/tests/fuzz build_tree fuzz \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo ;;
    esac
done

#!/usr/bin/env bash
# Configures and builds the three trees:
#   build/native  the portable core and its unit tests (GoogleTest, AddressSanitizer, UBSan)
#   build/win32   Quillet.exe for 32-bit Windows, and the end-to-end test driver
#   build/win64   Quillet.exe for 64-bit Windows
#   build/fuzz    the project file's libFuzzer target (clang), for scripts/fuzz.sh and ctest
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)

build_tree() {
    local name=$1 source=${SOURCE:-$root}
    shift
    echo "== build/$name"
    cmake -S "$source" -B "$root/build/$name" "$@" >/dev/null
    cmake --build "$root/build/$name" -j "$jobs"
}

build_tree native -DCMAKE_BUILD_TYPE=RelWithDebInfo
build_tree win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
build_tree win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
CC=clang CXX=clang++ SOURCE=$root/tests/fuzz build_tree fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo

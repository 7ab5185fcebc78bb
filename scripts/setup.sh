#!/usr/bin/env bash
# Installs what building and testing Quillet needs on Debian 12, only what is missing:
# CMake and g++ for the native unit tests, clang with its fuzzer runtime for the fuzz target,
# mingw-w64 for the Windows builds, 32-bit and 64-bit Wine with its fonts, Xvfb and ImageMagick
# for the end-to-end tests and screenshots, Python (with PyYAML) for the release zips and the
# package managers' manifests.
set -euo pipefail

packages=(cmake g++ make googletest clang libclang-rt-14-dev mingw-w64 wine wine32:i386 wine64
          fonts-wine fonts-liberation xvfb xauth x11-utils imagemagick python3
          python3-yaml)

sudo=()
if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
has_i386=false
if dpkg --print-foreign-architectures | grep -qx i386; then
    has_i386=true
fi

if [[ ${#missing[@]} -eq 0 && $has_i386 == true ]]; then
    echo "setup: everything is installed"
    exit 0
fi

echo "setup: installing ${missing[*]}"
if [[ $has_i386 == false ]]; then
    "${sudo[@]}" dpkg --add-architecture i386
fi
"${sudo[@]}" apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"

#!/usr/bin/env bash
# Builds the release zips for Windows users from the built trees (bash scripts/build.sh first):
#   dist/Quillet-<version>-win32.zip, dist/Quillet-<version>-win64.zip and dist/SHA256SUMS,
#   and the package managers' manifests for them (scripts/manifests.py): dist/quillet.json for
#   Scoop and the winget manifest set dist/winget/, naming the zips at $releases_url below
# Each zip holds one folder Quillet/ with Quillet.exe, an empty Projekte.dbu (the program never
# creates it), README.txt and LICENSE.txt (CR LF line ends, for Notepad). The version comes from
# CMake; the zips are reproducible: entries in a fixed order, dated from the last commit (or
# SOURCE_DATE_EPOCH), with fixed permissions. Checks what it packs and what it wrote.
#   package.sh [--trees <folder with win32/ and win64/>] [--out <folder>]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
trees=$root/build
out=$root/dist
while [[ $# -gt 0 ]]; do
    case $1 in
    --trees) trees=${2:?}; shift 2 ;;
    --out) out=${2:?}; shift 2 ;;
    *) echo "usage: package.sh [--trees <folder>] [--out <folder>]" >&2; exit 2 ;;
    esac
done

fail() {
    echo "package.sh: $*" >&2
    exit 1
}

version=$(cat "$trees/win32/version.txt" 2>/dev/null) || fail "no $trees/win32; build first"
[[ $(cat "$trees/win64/version.txt" 2>/dev/null) == "$version" ]] ||
    fail "$trees/win64 is missing or built from another version"
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null)} ||
    fail "not a git checkout: set SOURCE_DATE_EPOCH to the release's date (Unix time)"
expected_entries=$'Quillet/\nQuillet/LICENSE.txt\nQuillet/Projekte.dbu\nQuillet/Quillet.exe\nQuillet/README.txt'

# The text with CR LF line ends, the form Windows' own editors expect.
crlf() {
    sed 's/\r*$/\r/' "$1"
}

# Lays out Quillet/ for one build in <stage> and checks it.
stage_folder() {
    local arch=$1 stage=$2 exe=$trees/$1/src/main/Quillet.exe objdump
    [[ -f $exe ]] || fail "$exe is missing; build first"
    objdump=$(sed -n 's/^CMAKE_OBJDUMP:FILEPATH=//p' "$trees/$arch/CMakeCache.txt")
    bash "$root/tests/e2e/check-pe-header.sh" "$objdump" "$exe" >/dev/null ||
        fail "$exe: PE header: $(bash "$root/tests/e2e/check-pe-header.sh" "$objdump" "$exe")"
    mkdir -p "$stage/Quillet"
    cp "$exe" "$stage/Quillet/Quillet.exe"
    : >"$stage/Quillet/Projekte.dbu"
    crlf "$root/package/README.txt" >"$stage/Quillet/README.txt"
    crlf "$root/LICENSE" >"$stage/Quillet/LICENSE.txt"
}

# The zip's entries, and the project file empty in it.
check_zip() {
    python3 - "$1" "$expected_entries" <<'PYTHON' || fail "$1 does not hold what it should"
import sys, zipfile
archive = zipfile.ZipFile(sys.argv[1])
names = archive.namelist()
assert names == sys.argv[2].split("\n"), names
assert archive.read("Quillet/Projekte.dbu") == b""
for text in ("Quillet/README.txt", "Quillet/LICENSE.txt"):
    content = archive.read(text)
    assert content.count(b"\n") == content.count(b"\r\n") > 0, text + " is not CR LF"
PYTHON
}

mkdir -p "$out"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
zips=()
for arch in win32 win64; do
    zip=Quillet-$version-$arch.zip
    stage_folder "$arch" "$stage/$arch"
    python3 "$root/scripts/zip-folder.py" "$out/$zip" "$epoch" "$stage/$arch" Quillet
    check_zip "$out/$zip"
    zips+=("$zip")
done
(cd "$out" && sha256sum "${zips[@]}" >SHA256SUMS)
# Where the zips are published: a folder per version under the maker's web address (the host
# the About box opens, chosen when building).
host=$(sed -n 's/^QUILLET_WEBSITE_HOST:[A-Z]*=//p' "$trees/win32/CMakeCache.txt")
[[ -n $host ]] || fail "no QUILLET_WEBSITE_HOST in $trees/win32/CMakeCache.txt"
releases_url=https://$host/releases/$version
python3 "$root/scripts/manifests.py" write "$out" "$version" "$releases_url"
python3 "$root/scripts/manifests.py" check "$out" || fail "the manifests in $out do not fit the zips"
for zip in "${zips[@]}"; do
    echo "package.sh: $out/$zip ($(stat -c %s "$out/$zip") bytes)"
done
echo "package.sh: $out/quillet.json (Scoop), $out/winget/ (winget), for $releases_url"
cat "$out/SHA256SUMS"

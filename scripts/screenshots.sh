#!/usr/bin/env bash
# Takes the screenshots in docs/ from the real program under Xvfb: runs each screenshot scene of
# the end-to-end driver (cases named screenshot.*, in tests/e2e/cases_screenshots.cpp), which sets
# up a scratch folder with sample projects, brings Quillet to the state to show and announces
#   SCREENSHOT <name> <x> <y> <width> <height>
# for each window; this script then grabs the screen, crops it to the window, writes
# docs/<name>.png and lets the scene go on.
#   screenshots.sh [--no-build] [scene...]     e.g. screenshots.sh screenshot.main
# Without scenes it takes every scene at 96 DPI, then the main dialog and the About box once more
# in a Wine prefix at 144 DPI, written as docs/<name>-144dpi.png.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [[ ${1:-} == --no-build ]]; then
    shift
else
    bash "$root/scripts/setup.sh"
    bash "$root/scripts/build.sh"
fi

build=$root/build/win32
e2e=$root/tests/e2e
driver_in() { bash "$e2e/wine-run.sh" "$1" "$build/tests/e2e/quillet_e2e.exe" "${@:2}"; }

# Runs scenes in the Wine environment `state`, writing docs/<name><suffix>.png.
take_shots() {
    local state=$1 suffix=$2 scratch=$build/tests/e2e/shots$2
    shift 2
    bash "$e2e/wine-env.sh" start "$state"
    local display=:$(tr -d '\n' <"$state/display")
    mkdir -p "$scratch" "$root/docs"
    local scene line last name geometry
    for scene in "$@"; do
        last=
        while IFS= read -r line; do
            line=${line%$'\r'}
            last=$line
            echo "$line"
            if [[ $line =~ ^SCREENSHOT\ ([A-Za-z0-9_.-]+)\ (-?[0-9]+)\ (-?[0-9]+)\ ([0-9]+)\ ([0-9]+)$ ]]; then
                name=${BASH_REMATCH[1]}
                geometry=${BASH_REMATCH[4]}x${BASH_REMATCH[5]}+${BASH_REMATCH[2]}+${BASH_REMATCH[3]}
                import -display "$display" -window root -crop "$geometry" +repage \
                    "$root/docs/$name$suffix.png"
                echo "wrote docs/$name$suffix.png ($geometry)"
                touch "$scratch/$name.done"
            fi
        done < <(driver_in "$state" --exe "$build/src/main/Quillet.exe" --scratch "$scratch" \
                     --case "$scene" --shots && echo "exit status 0" || echo "exit status $?")
        [[ $last == "exit status 0" ]] || status=1
    done
    bash "$e2e/wine-env.sh" stop "$state"
}

status=0
trap 'bash "$e2e/wine-env.sh" stop "$build/wine-test"; bash "$e2e/wine-env.sh" stop "$build/wine-test-dpi144"' EXIT
if [[ $# -gt 0 ]]; then
    take_shots "$build/wine-test" "" "$@"
    exit $status
fi
bash "$e2e/wine-env.sh" start "$build/wine-test" >/dev/null
mapfile -t scenes < <(driver_in "$build/wine-test" --list | tr -d '\r' | grep '^screenshot\.')
take_shots "$build/wine-test" "" "${scenes[@]}"
QUILLET_E2E_DPI=144 take_shots "$build/wine-test-dpi144" -144dpi screenshot.main screenshot.about
exit $status

#!/usr/bin/env bash
# Takes the screenshots in docs/ from the real program under Xvfb: runs each screenshot scene of
# the end-to-end driver (cases named screenshot.*, in tests/e2e/cases_screenshots.cpp), which sets
# up a scratch folder with sample projects, brings Quillet to the state to show and announces
#   SCREENSHOT <name> <x> <y> <width> <height>
# for each window; this script then grabs the screen, crops it to the window, writes
# docs/<name>.png and lets the scene go on.
#   screenshots.sh [--no-build] [scene...]     e.g. screenshots.sh screenshot.main
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [[ ${1:-} == --no-build ]]; then
    shift
else
    bash "$root/scripts/setup.sh"
    bash "$root/scripts/build.sh"
fi

build=$root/build/win32
state=$build/wine-test
scratch=$build/tests/e2e/shots
e2e=$root/tests/e2e
driver=(bash "$e2e/wine-run.sh" "$state" "$build/tests/e2e/quillet_e2e.exe")

bash "$e2e/wine-env.sh" start "$state"
trap 'bash "$e2e/wine-env.sh" stop "$state"' EXIT
display=:$(tr -d '\n' <"$state/display")
mkdir -p "$scratch" "$root/docs"

scenes=("$@")
if [[ ${#scenes[@]} -eq 0 ]]; then
    mapfile -t scenes < <("${driver[@]}" --list | tr -d '\r' | grep '^screenshot\.')
fi

status=0
for scene in "${scenes[@]}"; do
    last=
    while IFS= read -r line; do
        line=${line%$'\r'}
        last=$line
        echo "$line"
        if [[ $line =~ ^SCREENSHOT\ ([A-Za-z0-9_.-]+)\ (-?[0-9]+)\ (-?[0-9]+)\ ([0-9]+)\ ([0-9]+)$ ]]; then
            name=${BASH_REMATCH[1]}
            geometry=${BASH_REMATCH[4]}x${BASH_REMATCH[5]}+${BASH_REMATCH[2]}+${BASH_REMATCH[3]}
            import -display "$display" -window root -crop "$geometry" +repage "$root/docs/$name.png"
            echo "wrote docs/$name.png ($geometry)"
            touch "$scratch/$name.done"
        fi
    done < <("${driver[@]}" --exe "$build/src/main/Quillet.exe" --scratch "$scratch" \
                 --case "$scene" --shots && echo "exit status 0" || echo "exit status $?")
    [[ $last == "exit status 0" ]] || status=1
done
exit $status

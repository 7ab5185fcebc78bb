#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quillet.exe (32-bit) under Wine, in a Wine prefix
# of its own under build/. An empty Projekte.dbu is put beside the program if there is none.
# Uses the display in DISPLAY; without one, runs on a virtual display (Xvfb).
#   run.sh [--no-build]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [[ ${1:-} != --no-build ]]; then
    bash "$root/scripts/setup.sh"
    bash "$root/scripts/build.sh"
fi

if [[ -z ${DISPLAY:-} ]]; then
    echo "run.sh: no DISPLAY; Quillet runs on a virtual display (Xvfb) until it is closed or ended"
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --no-build
fi

exe=$root/build/win32/src/main/Quillet.exe
if [[ ! -e $(dirname "$exe")/Projekte.dbu ]]; then
    : >"$(dirname "$exe")/Projekte.dbu"
fi

export WINEPREFIX=$root/build/wine-run WINEARCH=win32 WINEDEBUG=-all
if [[ ! -f $WINEPREFIX/.quillet-ready ]]; then
    echo "run.sh: creating the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
    # Wine's Marlett draws the caption buttons; Debian's Wine does not find it by itself.
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
        /v 'Marlett (TrueType)' /d 'Z:\usr\share\wine\fonts\marlett.ttf' /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.quillet-ready"
fi
echo "run.sh: starting $exe"
exec wine "$exe"

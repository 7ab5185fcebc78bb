#!/usr/bin/env bash
# The private Wine environment the end-to-end tests run in, kept in one state folder:
#   wine-env.sh start <state> [win32|win64 [<other state>]]
#                              an Xvfb on a free display, the Wine prefix <state>/prefix
#                              (created on first use, as a copy of <other state>'s when that is
#                              ready and of the same architecture; win32 unless told, win64 runs
#                              the 64-bit Quillet.exe and the 32-bit driver both) and a
#                              persistent wineserver
#   wine-env.sh peer <state>   a second computer on the same folders: the prefix <state>/peer/prefix
#                              (a copy of start's, made on first use) with a wineserver
#                              of its own, so neither named objects nor share modes cross, on
#                              start's display and with another user name; wine-run.sh
#                              <state>/peer runs programs there
#   wine-env.sh stop <state>   ends the wineservers (with every Wine process of the prefixes) and
#                              the Xvfb that start began
# ctest runs these as the setup and cleanup of the e2e fixture; wine-run.sh runs programs in it.
set -euo pipefail

usage="usage: wine-env.sh start <state folder> [win32|win64 [<other state folder>]] | peer|stop <state folder>"
action=${1:?$usage}
state=$(mkdir -p "${2:?$usage}" && cd "$2" && pwd)
if [[ $action == peer ]]; then
    [[ -s $state/display ]] || { echo "start the environment first: wine-env.sh start $state" >&2; exit 2; }
    mkdir -p "$state/peer"
    cp "$state/display" "$state/peer/display"
    echo quillet-peer >"$state/peer/user"
    main_arch=$(cat "$state/arch")
    state=$state/peer
fi
if [[ $action == start || $action == peer ]]; then
    arch=${3:-${main_arch:-win32}}
    [[ $arch == win32 || $arch == win64 ]] || { echo "$usage" >&2; exit 2; }
    # A prefix keeps the architecture it was made with; a new one replaces one of the other.
    if [[ $(cat "$state/arch" 2>/dev/null) != "$arch" ]]; then
        WINEPREFIX=$state/prefix wineserver -k >/dev/null 2>&1 || true
        rm -rf "$state/prefix"
    fi
    echo "$arch" >"$state/arch"
fi
export WINEPREFIX=$state/prefix WINEARCH=$(cat "$state/arch" 2>/dev/null || echo win32)
export WINEDEBUG=-all LC_ALL=C.UTF-8
if [[ -f $state/user ]]; then
    export USER=$(cat "$state/user")
fi

xvfb_pid() {
    local pid
    pid=$(cat "$state/xvfb.pid" 2>/dev/null) || return 1
    [[ "$(cat "/proc/$pid/comm" 2>/dev/null)" == Xvfb ]] && echo "$pid"
}

stop_wineserver() {
    if [[ -d $1 ]]; then
        WINEPREFIX=$1 wineserver -k >/dev/null 2>&1 || true
        WINEPREFIX=$1 wineserver -w >/dev/null 2>&1 || true
    fi
}

stop() {
    stop_wineserver "$WINEPREFIX"
    stop_wineserver "$state/peer/prefix"
    local pid
    if pid=$(xvfb_pid); then
        kill "$pid"
        for _ in $(seq 50); do [[ -d /proc/$pid ]] || break; sleep 0.1; done
    fi
    rm -f "$state/xvfb.pid" "$state/display"
}

# Two Xvfb servers started at the same moment (several test runs on one machine) may pick the
# same free display, and the later one then exits: try again.
start_xvfb() {
    local attempt
    for attempt in 1 2 3 4 5; do
        (try_xvfb) && break
        [[ $attempt -lt 5 ]] || exit 1
        local pid
        if pid=$(xvfb_pid); then kill "$pid"; fi
        sleep 0.$((RANDOM % 9 + 1))
    done
    export DISPLAY=:$(tr -d '\n' <"$state/display")
}

try_xvfb() {
    # Xvfb picks a free display itself and writes its number to fd 3 once it accepts clients.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
        3>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do
        [[ -s $state/display ]] && break
        xvfb_pid >/dev/null || { cat "$state/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
        sleep 0.1
    done
    [[ -s $state/display ]] || { echo "Xvfb gave no display number" >&2; exit 1; }
}

create_prefix() {
    [[ -f $WINEPREFIX/.quillet-ready ]] && return
    local source=${1:-}
    if [[ -n $source && -f $source/prefix/.quillet-ready &&
        $(cat "$source/arch" 2>/dev/null) == $(cat "$state/arch") ]]; then
        # Its wineserver wrote the registry out when the prefix was made, and writes by
        # renaming, so a copy taken while it runs is whole.
        rm -rf "$WINEPREFIX"
        cp -a "$source/prefix" "$WINEPREFIX"
        return
    fi
    echo "creating the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    # No Mono or Gecko: nothing here needs them, and their installers would ask.
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
    # Unmanaged windows: without this, Wine stalls whenever a window is hidden or
    # destroyed, waiting for a window manager that Xvfb does not have.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # Wine's Marlett, which draws the caption buttons: Debian's Wine does not find its own fonts,
    # and without it the close box shows a letter "r".
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
        /v 'Marlett (TrueType)' /d 'Z:\usr\share\wine\fonts\marlett.ttf' /f >/dev/null 2>&1
    # A screen of another DPI, for the layout cases' extra runs (QUILLET_E2E_DPI=144 or 192).
    if [[ -n ${QUILLET_E2E_DPI:-} ]]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
            /d "$QUILLET_E2E_DPI" /f >/dev/null 2>&1
    fi
    wineserver -w
    touch "$WINEPREFIX/.quillet-ready"
}

case $action in
start)
    stop
    start_xvfb
    create_prefix "${4:-}"
    # One wineserver for the whole run, so each test's Wine processes start quickly.
    wineserver -p </dev/null >/dev/null 2>&1
    # Warm up the prefix's services before the first test.
    wine reg query 'HKCU\Software\Wine\X11 Driver' /v Managed </dev/null >/dev/null 2>&1
    echo "Wine test environment ready: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
    ;;
peer)
    export DISPLAY=:$(tr -d '\n' <"$state/display")
    create_prefix "${state%/peer}"
    wineserver -p </dev/null >/dev/null 2>&1 || true # already running: exits with 2
    echo "Wine peer environment ready: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX USER=$USER"
    ;;
stop)
    stop
    echo "Wine test environment stopped"
    ;;
*)
    echo "$usage" >&2
    exit 2
    ;;
esac

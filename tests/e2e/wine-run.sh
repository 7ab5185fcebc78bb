#!/usr/bin/env bash
# Runs a Windows program in the end-to-end tests' Wine environment (started by wine-env.sh):
#   wine-run.sh <state> <program.exe> [arguments...]
set -euo pipefail

state=$(cd "${1:?usage: wine-run.sh <state folder> <program.exe> [arguments...]}" && pwd)
shift
if [[ ! -s $state/display ]]; then
    echo "the Wine test environment is not running; start it with: wine-env.sh start $state" >&2
    exit 2
fi
export WINEPREFIX=$state/prefix WINEARCH=$(cat "$state/arch" 2>/dev/null || echo win32)
export WINEDEBUG=-all LC_ALL=C.UTF-8
if [[ -f $state/user ]]; then
    export USER=$(cat "$state/user") # the peer environment's other user
fi
export DISPLAY=:$(tr -d '\n' <"$state/display")
exec wine "$@"

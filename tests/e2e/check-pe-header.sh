#!/usr/bin/env bash
# Checks the PE header of a Quillet.exe: subsystem and system version 6.1 (Windows 7, the least
# it runs on, as it calls QueryUnbiasedInterruptTime; an older Windows then refuses it clearly),
# the Windows GUI subsystem, and no link or resource time stamp (two builds of one commit give
# equal bytes).
#   check-pe-header.sh <objdump of the target> <Quillet.exe>
set -euo pipefail

objdump=${1:?usage: check-pe-header.sh <objdump> <Quillet.exe>}
exe=${2:?usage: check-pe-header.sh <objdump> <Quillet.exe>}
header=$(TZ=UTC LC_ALL=C "$objdump" -p "$exe")

status=0
expect() {
    local field=$1 want=$2 got
    got=$(awk -v f="$field" -F'\t+' '$1 == f { print $2; exit }' <<<"$header")
    if [[ $got == "$want" ]]; then
        echo "ok:     $field $got"
    else
        echo "FAILED: $field is '$got', expected '$want'"
        status=1
    fi
}

expect MajorSubsystemVersion 6
expect MinorSubsystemVersion 1
expect MajorOSystemVersion 6
expect MinorOSystemVersion 1
expect Subsystem '00000002'
expect Time/Date 'Thu Jan  1 00:00:00 1970'
# The resource tables carry a time stamp each too (windres writes 0).
stamped=$(grep -c 'Table: .*Time: [0-9a-f]*[1-9a-f]' <<<"$header" || true)
if [[ $stamped -eq 0 ]] && grep -q 'Table: .*Time: 00000000' <<<"$header"; then
    echo "ok:     resource tables without time stamps"
else
    echo "FAILED: $stamped resource tables with a time stamp (or no resource tables)"
    status=1
fi
exit $status

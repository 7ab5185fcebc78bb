#!/usr/bin/env bash
# Fails on resource ids that collide by accident:
#   check-resource-ids.sh <resource.h> <file.rc>...
#     - a symbol defined twice in resource.h;
#     - one value given to two symbols, except the pairs the dialogs share on purpose;
#     - within one dialog template, two controls with the same id (IDC_STATIC aside), or a
#       control id that resource.h does not define.
#   check-resource-ids.sh --self-test
#     runs the checks above on small made-up files, each of which must pass or fail as expected.
set -euo pipefail

# Values that two symbols share by design: the delete dialog's combo and the create dialog's
# cancel button never meet in one dialog.
readonly SHARED_ON_PURPOSE="1021=IDC_DELETE_COMBO,IDC_NEW_CANCEL"

check() {
    local header=$1
    shift
    awk -v shared="$SHARED_ON_PURPOSE" '
    function value_of(text) {
        gsub(/[()[:space:]]/, "", text)
        if (text ~ /^-?0[xX][0-9a-fA-F]+$/) return strtonum_hex(text)
        if (text ~ /^-?[0-9]+$/) return text + 0
        return "?"
    }
    function strtonum_hex(text,   sign, n, i, c) {
        sign = 1
        if (substr(text, 1, 1) == "-") { sign = -1; text = substr(text, 2) }
        n = 0
        for (i = 3; i <= length(text); i++) {
            c = index("0123456789abcdef", tolower(substr(text, i, 1))) - 1
            n = n * 16 + c
        }
        return sign * n
    }
    function fail(message) { print FILENAME ":" FNR ": " message; errors++ }
    BEGIN {
        split("IDOK=1 IDCANCEL=2 IDABORT=3 IDRETRY=4 IDIGNORE=5 IDYES=6 IDNO=7 IDC_STATIC=-1", known, " ")
        for (k in known) { split(known[k], kv, "="); builtin[kv[1]] = kv[2] }
        split(shared, s, "="); allowed[s[1]] = s[2]
        n_keywords = split("LTEXT RTEXT CTEXT PUSHBUTTON DEFPUSHBUTTON GROUPBOX CHECKBOX AUTOCHECKBOX RADIOBUTTON AUTORADIOBUTTON STATE3 AUTO3STATE PUSHBOX ICON CONTROL", kw, " ")
        for (k = 1; k <= n_keywords; k++) text_first[kw[k]] = 1
        split("EDITTEXT COMBOBOX LISTBOX SCROLLBAR", kw, " ")
        for (k in kw) id_first[kw[k]] = 1
    }
    FNR == 1 { file_index++ }
    # resource.h: every #define of an ID... symbol.
    file_index == 1 && /^[[:space:]]*#[[:space:]]*define[[:space:]]+ID/ {
        line = $0
        sub(/\/\/.*/, "", line)
        split(line, f, /[[:space:]]+/)
        name = f[2]; rest = line; sub(/^[[:space:]]*#[[:space:]]*define[[:space:]]+[A-Za-z0-9_]+/, "", rest)
        v = value_of(rest)
        if (name in symbol) fail(name " defined twice")
        symbol[name] = v
        if (name == "IDC_STATIC") next
        if (v in by_value) {
            pair = by_value[v] < name ? by_value[v] "," name : name "," by_value[v]
            if (!((v "") in allowed && allowed[v ""] == pair))
                fail("value " v " shared by " by_value[v] " and " name)
        } else {
            by_value[v] = name
        }
        next
    }
    file_index == 1 { next }
    # .rc files: control ids within each dialog template.
    /^[A-Za-z0-9_]+[[:space:]]+DIALOG(EX)?([[:space:]]|$)/ {
        dialog = $1; depth = 0; in_dialog = 1
        if (dialog in seen_dialog) fail("dialog " dialog " defined twice")
        seen_dialog[dialog] = 1
        delete used
        next
    }
    in_dialog && /^[[:space:]]*(BEGIN|\{)[[:space:]]*$/ { depth++; next }
    in_dialog && /^[[:space:]]*(END|\})[[:space:]]*$/ { if (--depth == 0) in_dialog = 0; next }
    in_dialog && depth == 1 {
        line = $0
        gsub(/"([^"]|"")*"/, "\"\"", line)
        keyword = line; sub(/^[[:space:]]*/, "", keyword); sub(/[[:space:]].*/, "", keyword)
        if (!(keyword in text_first) && !(keyword in id_first)) next
        sub(/^[[:space:]]*[A-Z0-9]+[[:space:]]*/, "", line)
        split(line, args, ",")
        id = (keyword in id_first) ? args[1] : args[2]
        gsub(/[[:space:]]/, "", id)
        if (id in symbol) v = symbol[id]
        else if (id in builtin) v = builtin[id]
        else if (value_of(id) != "?") v = value_of(id)
        else { fail("dialog " dialog ": control id " id " is not defined in the header"); next }
        if (v == -1) next
        if (v in used) fail("dialog " dialog ": id " v " used by " used[v] " and " id)
        used[v] = id
    }
    END { exit errors ? 1 : 0 }
    ' "$header" "$@"
}

self_test() {
    local dir failures=0
    dir=$(mktemp -d)
    trap 'rm -rf "$dir"' RETURN
    cat >"$dir/good.h" <<'H'
#define IDD_ONE 102
#define IDD_TWO 103
#define IDC_NAME 1001 // a comment
#define IDC_OK_TOO 0x3EA
#define IDC_NEW_CANCEL 1021
#define IDC_DELETE_COMBO 1021
#define IDC_STATIC (-1)
#define WM_SOMETHING 0x8064
H
    cat >"$dir/good.rc" <<'R'
IDD_ONE DIALOGEX 0, 0, 100, 50
CAPTION "One, with a comma"
BEGIN
    CONTROL "a, b", IDC_NAME, "Static", SS_LEFT, 1, 1, 10, 10
    LTEXT "x", IDC_STATIC, 1, 1, 1, 1
    LTEXT "y", IDC_STATIC, 1, 1, 1, 1
    EDITTEXT IDC_OK_TOO, 1, 1, 1, 1
    DEFPUSHBUTTON "OK", IDOK, 1, 1, 1, 1
    PUSHBUTTON "cancel", IDC_NEW_CANCEL, 1, 1, 1, 1
END
IDD_TWO DIALOG 0, 0, 100, 50
BEGIN
    COMBOBOX IDC_DELETE_COMBO, 1, 1, 1, 1
    PUSHBUTTON "name", IDC_NAME, 1, 1, 1, 1
END
R
    expect() { # expect pass|fail <message> <header> <rc>
        local want=$1 message=$2 output status=0
        output=$(check "$3" "$4" 2>&1) || status=$?
        if [[ $want == pass && $status -ne 0 ]] || [[ $want == fail && $status -eq 0 ]] ||
            [[ $want == fail && $output != *"$message"* ]]; then
            echo "self-test: expected $want ($message), got status $status: $output"
            failures=$((failures + 1))
        fi
    }
    expect pass "" "$dir/good.h" "$dir/good.rc"
    sed 's/^#define IDD_TWO 103/#define IDD_TWO 103\n#define IDC_NAME 1005/' "$dir/good.h" >"$dir/twice.h"
    expect fail "IDC_NAME defined twice" "$dir/twice.h" "$dir/good.rc"
    sed 's/IDC_OK_TOO 0x3EA/IDC_OK_TOO 0x3E9/' "$dir/good.h" >"$dir/shared.h"
    expect fail "value 1001 shared by IDC_NAME and IDC_OK_TOO" "$dir/shared.h" "$dir/good.rc"
    sed 's/IDC_NEW_CANCEL 1021/IDC_NEW_CANCEL 1003\n#define IDC_OTHER 1021/' "$dir/good.h" >"$dir/other.h"
    expect fail "value 1021 shared by IDC_OTHER and IDC_DELETE_COMBO" "$dir/other.h" "$dir/good.rc"
    sed 's/EDITTEXT IDC_OK_TOO/EDITTEXT IDC_NAME/' "$dir/good.rc" >"$dir/clash.rc"
    expect fail "dialog IDD_ONE: id 1001 used by IDC_NAME and IDC_NAME" "$dir/good.h" "$dir/clash.rc"
    sed 's/PUSHBUTTON "name", IDC_NAME/PUSHBUTTON "name", IDC_NEW_CANCEL/' "$dir/good.rc" >"$dir/shared.rc"
    expect fail "dialog IDD_TWO: id 1021 used by IDC_DELETE_COMBO and IDC_NEW_CANCEL" "$dir/good.h" "$dir/shared.rc"
    sed 's/IDC_OK_TOO, 1/IDC_MISSING, 1/' "$dir/good.rc" >"$dir/unknown.rc"
    expect fail "control id IDC_MISSING is not defined" "$dir/good.h" "$dir/unknown.rc"
    if ((failures)); then return 1; fi
    echo "self-test passed"
}

if [[ ${1:-} == --self-test ]]; then
    self_test
else
    (($# >= 2)) || { echo "usage: check-resource-ids.sh <resource.h> <file.rc>... | --self-test" >&2; exit 2; }
    check "$@"
    echo "resource ids: no unintended duplicates"
fi

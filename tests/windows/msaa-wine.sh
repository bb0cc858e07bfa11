#!/bin/bash
# The Windows program under wine read as a screen reader reads it, through
# Active Accessibility: msaa_client, a small client built with the program,
# reads the running window's tree (each control's role, name, description
# and states) and which control has the keyboard focus, after each step of
# a short use. One temporary wine prefix in our own Xvfb, whose wineserver
# is stopped at the end.
#   msaa-wine.sh path/to/trivyrhnik.exe path/to/msaa_client.exe
set -u
here=$(cd "$(dirname "$0")" && pwd)
TRIVYRHNIK_EXE=$(readlink -f "$1")
client=$(readlink -f "$2")
export TRIVYRHNIK_EXE
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/trivyrhnik-wine.XXXXXX")
export WINEPREFIX
trap '"$here/wine-prefix" remove "$WINEPREFIX"' EXIT
"$here/wine-prefix" create "$WINEPREFIX" || exit 1
source "$here/../acceptance/session.sh"
trap 'cleanup; "$here/wine-prefix" remove "$WINEPREFIX"' EXIT

# The tree, line by line, against tests/windows/msaa/<file>.
expect_tree() { # file what
    if ! "$here/wine-run" "$client" >"$work/tree.txt" 2>"$work/client.log"; then
        fail "$2: the client failed"
        cat "$work/tree.txt" "$work/client.log"
    elif cmp -s "$here/msaa/$1" "$work/tree.txt"; then
        pass "$2: the tree line for line"
    else
        fail "$2: the tree differs"
        diff "$here/msaa/$1" "$work/tree.txt"
    fi
}
# The name of the object with the keyboard focus.
expect_focus() { # name what
    local got
    got=$("$here/wine-run" "$client" --focus 2>"$work/client.log")
    [ "$got" = "$1" ] && pass "$2: the focus on \"$1\"" || fail "$2: the focus on \"$got\", not \"$1\""
}

start_program LC_ALL=C.UTF-8 "$here/wine-program"
#           what is done                              what is read
expect_tree start.txt                                 "at start"
expect_focus "Решение"                                "at start"
press_point 10 10
expect_focus "Чертожна площ"                          "after a press on the surface"
press_point 40 10; press_point 10 50
expect_tree three-points.txt                          "after three points"
list_row 360 0
expect_focus "Координати X на точките"                "after a click on the X list"
list_row 416 1
expect_focus "Координати Y на точките"                "after a click on the Y list"
xdotool key Tab; sleep 0.3
expect_focus "Изчисли"                                "after Tab from the Y list"
xdotool key space; sleep 0.5
expect_focus "Изчисти"                                "after Space on Изчисли (it disables itself)"
xdotool key Tab; sleep 0.3
expect_focus "Чертожна площ"                          "after Tab from Изчисти (Изтрий is disabled)"
xdotool key shift+Tab; sleep 0.3
expect_focus "Изчисти"                                "after Shift+Tab"
xdotool key Return; sleep 0.5
expect_tree start.txt                                 "after Enter on Изчисти (as at start)"
expect_focus "Изчисти"                                "after Enter on Изчисти"
stop_program "MSAA"
echo "$failures failure(s)"
[ "$failures" = 0 ]

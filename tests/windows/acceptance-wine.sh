#!/bin/bash
# The Windows program under wine, used from outside as the desktop edition
# is: the shared acceptance test (tests/acceptance/acceptance.sh) with
# wine-program as its program, then the drawing compared pixel by pixel
# with the desktop edition's (same-drawing.sh) at 96 and at 144 dots per
# inch. One temporary wine prefix,
# whose wineserver is stopped at the end.
#   acceptance-wine.sh path/to/trivyrhnik.exe [path/to/desktop/trivyrhnik]
set -u
here=$(cd "$(dirname "$0")" && pwd)
TRIVYRHNIK_EXE=$(readlink -f "$1")
export TRIVYRHNIK_EXE
desktop=${2:-}
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/trivyrhnik-wine.XXXXXX")
export WINEPREFIX
trap '"$here/wine-prefix" remove "$WINEPREFIX"' EXIT
started=$(date +%s)
"$here/wine-prefix" create "$WINEPREFIX" || exit 1
echo "note: the prefix took $(($(date +%s) - started)) s"

status=0
"$here/../acceptance/acceptance.sh" "$here/wine-program" || status=1
if [ -n "$desktop" ]; then
    desktop=$(readlink -f "$desktop")
    "$here/same-drawing.sh" "$desktop" "$here/wine-program" 1 || status=1
    # A monitor at 150 %: the prefix at 144 dots per inch, which the program,
    # aware of each monitor's DPI, follows.
    "$here/wine-run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
    wineserver -w
    "$here/same-drawing.sh" "$desktop" "$here/wine-program" 1.5 || status=1
fi
echo "note: $(($(date +%s) - started)) s in all"
exit $status

#!/bin/sh
# The floors of the source, by their includes: number/ under everything,
# ui/ (the controls and the drawing surface) above it, geometry/ (the
# calculation, drawing through the controls) above both, app/ (the window
# class) on top of the core, and the editions above the core. An include
# that reaches up a floor, or from the core into an edition, fails.
set -u
cd "$(dirname "$0")/.."
failures=0
# folder | project folders its includes may name
while IFS='|' read -r folder allowed; do
    [ -z "$folder" ] && continue
    pattern=$(echo "$allowed" | sed 's/ /\\|/g')
    found=$(grep -rn '^#include "' "$folder" | grep -v "#include \"\\($pattern\\)/" \
        | grep '#include "\(number\|ui\|geometry\|app\|desktop\|web\|windows\)/')
    if [ -n "$found" ]; then
        echo "FAIL $folder/ reaches beyond $allowed:"
        echo "$found"
        failures=$((failures + 1))
    fi
done <<'ROWS'
number|number
ui|number ui
geometry|number ui geometry
app|number ui geometry app
ROWS
[ "$failures" -eq 0 ] && echo "every include keeps to its floor"
exit "$failures"

#!/bin/bash
# Uses the built program from outside, as a pupil does, through an X server
# only: xdotool presses on the surface, the list rows and the buttons; the
# report is copied out with the keyboard and read with xclip; screenshots
# taken with ImageMagick's import are checked pixel by pixel.
#
#   acceptance.sh path/to/trivyrhnik
set -u
program=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
xvfb_pid=""
app_pid=""

cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# Our own X server, on the first free display it finds.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
unset QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME GTK_THEME LANG LANGUAGE LC_ALL
unset LC_NUMERIC LC_CTYPE LC_MESSAGES LC_COLLATE LC_TIME LC_MONETARY

# Starts the program with the given environment (NAME=value ...) and waits
# for its window; X, Y, WIDTH and HEIGHT are then the window's.
start_program() {
    env "$@" "$program" >"$work/app.log" 2>&1 &
    app_pid=$!
    window=""
    for _ in $(seq 100); do
        window=$(xdotool search --onlyvisible --pid "$app_pid" --name "Аналитична геометрия - координати" 2>/dev/null | head -1)
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "the window did not appear ($*)"; cat "$work/app.log"; exit 1; }
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$window")" # X, Y, WIDTH, HEIGHT
}
stop_program() {
    kill -0 "$app_pid" 2>/dev/null && pass "$1: program still running" || fail "$1: program ended"
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
    app_pid=""
}

start_program LC_ALL=C.UTF-8
[ "$WIDTH" = 461 ] && [ "$HEIGHT" = 418 ] && pass "window is 461 x 418" || fail "window is ${WIDTH} x ${HEIGHT}"

# Places in the window, in pixels (design positions in twips / 15).
surface_x=$((X + 16 + 2)); surface_y=$((Y + 56 + 2)) # drawing area inside its frame
click_at() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep 0.25; }
press_point() { click_at $((surface_x + $1)) $((surface_y + $2)) "${3:-1}"; }
button() { click_at $((X + 376 + 36)) $((Y + 152 + 40 * $1 + 12)); }
list_row() { click_at $((X + $1 + 12)) $((Y + 56 + 2 + 18 * $2 + 9)); } # list left edge, row

shot() { import -window root "$work/shot.png"; }
# The colour of a surface pixel as r,g,b.
pixel() {
    convert "$work/shot.png" -depth 8 -format "%[fx:int(255*p{$((surface_x + $1)),$((surface_y + $2))}.r+.5)],%[fx:int(255*p{$((surface_x + $1)),$((surface_y + $2))}.g+.5)],%[fx:int(255*p{$((surface_x + $1)),$((surface_y + $2))}.b+.5)]" info:
}
expect_pixel() { # x y r,g,b what
    local got; got=$(pixel "$1" "$2")
    [ "$got" = "$3" ] && pass "$4" || fail "$4: pixel ($1,$2) is $got, not $3"
}
# Whether a colour occurs in the drawing area.
has_colour() {
    convert "$work/shot.png" -crop "335x229+${surface_x}+${surface_y}" +repage -depth 8 -unique-colors txt:- \
        | grep -qi "#$1"
}

copy_report() {
    printf 'sentinel' | xclip -selection clipboard -i
    click_at $((X + 8 + 200)) $((Y + 296 + 40))
    xdotool key ctrl+a; sleep 0.1; xdotool key ctrl+c; sleep 0.3
    xclip -selection clipboard -o >"$work/report.txt" 2>/dev/null
}
separator=.
check_report() { # expected-file what
    copy_report
    # The box's lines end in CR LF; the clipboard has the toolkit's line feeds.
    # The expected reports are written with a full stop; the program's
    # separator is the only character that the regional settings change.
    tr -d '\r' <"$here/expected/$1" | tr . "$separator" >"$work/expected.txt"
    if cmp -s "$work/expected.txt" "$work/report.txt"; then
        pass "$2: report line for line"
    else
        fail "$2: report differs"
        diff "$work/expected.txt" "$work/report.txt" | head -20
    fi
}

# Presses the three points (x y button each), runs the calculation, checks
# the report and whether a red circle was drawn, and takes a screenshot.
#   calculate expected-file what red-circle(yes|no) x y b x y b x y b
calculate() {
    local file=$1 what=$2 circle=$3
    shift 3
    while [ $# -ge 3 ]; do press_point "$1" "$2" "$3"; shift 3; done
    button 0
    check_report "$file" "$what"
    shot
    if has_colour FF0000; then
        [ "$circle" = yes ] && pass "$what: red dashed circle" || fail "$what: a red circle"
    else
        [ "$circle" = no ] && pass "$what: no red circle" || fail "$what: no red circle"
    fi
}

# --- a right triangle, pressed with all three buttons
calculate right.txt "right triangle" no 10 10 1 40 10 3 10 50 2
expect_pixel 24 11 0,0,255 "blue midpoint of AB"
expect_pixel 25 30 250,25,100 "circumcentre dot"
has_colour 00FF00 && pass "green segments to the centre" || fail "no green segment"
button 1
copy_report
shot
if has_colour 000000 || has_colour 0000FF; then fail "surface not white after Изчисти"; else pass "surface white after Изчисти"; fi
[ "$(cat "$work/report.txt")" = sentinel ] || [ ! -s "$work/report.txt" ] && pass "report empty after Изчисти" \
    || fail "report not empty after Изчисти"

calculate obtuse.txt "obtuse triangle" yes 10 10 1 50 10 1 20 20 1
button 1
calculate acute.txt "acute triangle" no 10 10 1 50 10 1 30 40 1
button 1

# --- collinear points: the circle on the longest side stays drawn
calculate collinear.txt "collinear points" yes 10 10 1 20 20 1 30 30 1
# A row click still marks its point after a run.
list_row 416 1
shot
expect_pixel 20 20 255,0,0 "selected point is red"
expect_pixel 10 10 0,0,0 "other points are black"
button 1
stop_program "C.UTF-8"

# --- regional settings: the separator is the only difference, and the
# lists keep whole numbers (the reports' vertex lines come from them)
separator=,
start_program LC_ALL=bg_BG.UTF-8
calculate right.txt "bg_BG: right triangle" no 10 10 1 40 10 1 10 50 1
button 1
calculate obtuse_half.txt "bg_BG: obtuse triangle, half-pixel midpoints" yes 10 10 1 51 10 1 20 21 1
button 1
calculate collinear.txt "bg_BG: collinear points" yes 10 10 1 20 20 1 30 30 1
stop_program "bg_BG"

locale_run() { # separator what NAME=value...
    separator=$1
    local what=$2
    shift 2
    start_program "$@"
    calculate obtuse_half.txt "$what" yes 10 10 1 51 10 1 20 21 1
    stop_program "$what"
}
locale_run , "LANG=en_US with LC_NUMERIC=bg_BG" LANG=en_US.UTF-8 LC_NUMERIC=bg_BG.UTF-8
locale_run . "en_US" LC_ALL=en_US.UTF-8
locale_run , "de_DE" LC_ALL=de_DE.UTF-8
# A locale that the system does not have: the C library falls back to C,
# while the toolkit still names Russian settings, which write a comma.
locale -a | grep -qix "ru_RU.utf8" && echo "note: ru_RU is installed here"
locale_run , "ru_RU, not installed" LC_ALL=ru_RU.UTF-8

# --- desktop themes: fresh points are black, and the window after a run
# looks exactly as under the toolkit's default theme
theme_run() { # name NAME=value...
    local name=$1 file=${1%%:*}
    shift
    start_program LC_ALL=C.UTF-8 "$@"
    press_point 10 10; press_point 51 10; press_point 20 21
    shot
    expect_pixel 51 10 0,0,0 "$name: fresh point is black"
    button 0
    sleep 0.3
    import -window "$window" "$work/theme-$file.png"
    stop_program "$name"
}
theme_run default
for theme in Adwaita:dark HighContrast:dark; do
    theme_run "$theme" QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME="$theme"
    differing=$(compare -metric AE "$work/theme-default.png" "$work/theme-${theme%%:*}.png" null: 2>&1)
    [ "$differing" = 0 ] && pass "$theme: the window as under the default theme" \
        || fail "$theme: $differing pixels differ from the default theme"
done

echo "$failures failure(s)"
[ "$failures" = 0 ]

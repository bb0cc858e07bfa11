#!/bin/bash
# Uses the built program from outside, as a pupil does, through an X server
# only: xdotool presses on the surface, the list rows and the buttons; the
# report is copied out with the keyboard and read with xclip; screenshots
# taken with ImageMagick's import are checked pixel by pixel. It runs under
# several regional settings and desktop themes.
#
#   acceptance.sh path/to/trivyrhnik
set -u
program=$(readlink -f "$1")
source "$(dirname "$0")/session.sh"

shot() { import -window root "$work/shot.png"; }
# The colour of a surface pixel as r,g,b.
pixel() {
    local p="p{$((surface_x + $1)),$((surface_y + $2))}"
    convert "$work/shot.png" -depth 8 -format "%[fx:int(255*$p.r+.5)],%[fx:int(255*$p.g+.5)],%[fx:int(255*$p.b+.5)]" info:
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

# Presses the three points (x y button each), runs the calculation, checks
# the report and whether a red circle was drawn, and takes a screenshot.
#   calculate expected-file what red-circle(yes|no) x y b x y b x y b
calculate() {
    local what=$2 circle=$3
    press_and_check "$1" "$2" "${@:4}"
    shot
    if has_colour FF0000; then
        [ "$circle" = yes ] && pass "$what: red dashed circle" || fail "$what: a red circle"
    else
        [ "$circle" = no ] && pass "$what: no red circle" || fail "$what: no red circle"
    fi
}

start_program LC_ALL=C.UTF-8 "$program"
[ "$WIDTH" = 461 ] && [ "$HEIGHT" = 418 ] && pass "window is 461 x 418" || fail "window is ${WIDTH} x ${HEIGHT}"

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
start_program LC_ALL=bg_BG.UTF-8 "$program"
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
    start_program "$@" "$program"
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
    start_program LC_ALL=C.UTF-8 "$@" "$program"
    press_point 10 10; press_point 51 10; press_point 20 21
    shot
    expect_pixel 51 10 0,0,0 "$name: fresh point is black"
    button 0
    window_shot "$work/theme-$file.png"
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

#!/bin/bash
# The same presses in two editions give the same drawing, pixel for pixel,
# since both show the shared raster: an obtuse triangle (dashed red circle,
# dash-dot-dot outline, circumcircle, midpoints), at scale 1 with a point
# then selected in the list and the frame around the drawing, at scale 1.5
# the drawing alone (the screen of the test's X server is smaller than the
# window there). At 1.5 the first program gets QT_SCALE_FACTOR=1.5 and the
# second one's wine prefix must be at 144 dots per inch.
#   same-drawing.sh first-program second-program [1|1.5]
set -u
source "$(dirname "$0")/../acceptance/session.sh"
scale=${3:-1}
case "$scale" in
1) k=2 ;;
1.5) k=3 ;;
*) echo "scale 1 or 1.5"; exit 2 ;;
esac
# A device pixel, from the window's corner, whose logical pixel is the given
# one of the design (at scale k/2: the first device pixel of that pixel).
device() { echo $(((k * $1 + 1) / 2)); }

drawing() { # program file
    local program=$1 file=$2 p lx ly
    start_program LC_ALL=C.UTF-8 QT_SCALE_FACTOR="$scale" "$program"
    for p in "10 10" "51 10" "20 21"; do
        read -r lx ly <<<"$p"
        click_at $((X + $(device $((16 + 2 + lx))))) $((Y + $(device $((56 + 2 + ly)))))
    done
    click_at $((X + $(device $((376 + 36))))) $((Y + $(device $((152 + 12)))))
    if [ "$scale" = 1 ]; then
        list_row 416 2
        window_shot "$work/window.png"
        # The surface with its frame: 339 x 233 at (16, 56).
        convert "$work/window.png" -crop 339x233+16+56 +repage "$file"
    else
        # The drawing inside the frame, 335 x 229 logical pixels, from the
        # screen once it has stopped changing.
        local crop
        crop="$(((k * 335 + 1) / 2))x$(((k * 229 + 1) / 2))+$((X + k * 18 / 2))+$((Y + k * 58 / 2))"
        import -window root -crop "$crop" +repage "$file"
        for _ in $(seq 20); do
            sleep 0.2
            import -window root -crop "$crop" +repage "$work/again.png"
            [ "$(compare -metric AE "$file" "$work/again.png" null: 2>&1)" = 0 ] && break
            mv "$work/again.png" "$file"
        done
    fi
    stop_program "$(basename "$program") at scale $scale"
}
drawing "$1" "$work/first.png"
drawing "$2" "$work/second.png"
# Not a blank surface: white, black, the blue midpoints, the green segments
# and the red circle at least.
colours=$(convert "$work/first.png" -format %k info:)
[ "$colours" -ge 5 ] && pass "a drawing of $colours colours" || fail "only $colours colours: the presses missed"
differing=$(compare -metric AE "$work/first.png" "$work/second.png" null: 2>&1)
if [ "$differing" = 0 ]; then
    pass "the same drawing in both editions at scale $scale"
else
    fail "$differing pixels of the drawing differ between the editions at scale $scale"
    cp "$work/first.png" "${TMPDIR:-/tmp}/same-drawing-first.png"
    cp "$work/second.png" "${TMPDIR:-/tmp}/same-drawing-second.png"
fi
echo "$failures failure(s)"
[ "$failures" = 0 ]

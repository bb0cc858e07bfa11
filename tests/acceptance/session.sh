# The program used from outside through an X server of our own: start-up,
# presses at the design's places and the report read through the clipboard.
# Sourced by bash scripts (acceptance.sh, scripts/check-package), which then
# call start_program with the environment and the command that start the
# program.

expected_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/expected
work=$(mktemp -d)
xvfb_pid=""
app_pid=""

cleanup() {
    # Either may have ended already; the cleanup goes on regardless.
    if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# Only what start_program is given reaches the program: no regional settings
# or theme of the caller's.
unset QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME GTK_THEME LANG LANGUAGE LC_ALL
unset LC_NUMERIC LC_CTYPE LC_MESSAGES LC_COLLATE LC_TIME LC_MONETARY

# Our own X server, on the first free display it finds; started once and
# started again only if it has died. -noreset keeps it from resetting each
# time its last client leaves, which races with the next program's start.
start_xvfb() {
    if [ -n "$xvfb_pid" ]; then
        kill -0 "$xvfb_pid" 2>/dev/null && return
        echo "note: Xvfb ended; its log:"; cat "$work/xvfb.log"
    fi
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
    export DISPLAY=":$(cat "$work/display")"
}

# Starts the command with the given environment, waits for its window and
# sets X, Y, WIDTH, HEIGHT to its geometry.
#   start_program [NAME=value ...] command [arguments]
# A start that fails only because the X server could not be reached is a
# fault of the test's own server, not of the program: it is said and tried
# once more, with the server started again if it has died.
start_program() {
    local attempt
    for attempt in 1 2; do
        start_xvfb
        env "$@" >"$work/app.log" 2>&1 &
        app_pid=$!
        window=""
        for _ in $(seq 100); do
            window=$(xdotool search --onlyvisible --pid "$app_pid" --name "Аналитична геометрия - координати" \
                2>/dev/null | head -1)
            [ -n "$window" ] && break
            kill -0 "$app_pid" 2>/dev/null || break
            sleep 0.1
        done
        [ -n "$window" ] && break
        wait "$app_pid" 2>/dev/null || true
        if [ "$attempt" = 1 ] && grep -q "could not connect to display" "$work/app.log"; then
            echo "note: the program could not reach the X server $DISPLAY; starting it again"
            cat "$work/xvfb.log"
            continue
        fi
        echo "the window did not appear ($*)"; cat "$work/app.log"; exit 1
    done
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$window")" # X, Y, WIDTH, HEIGHT
    surface_x=$((X + 16 + 2)); surface_y=$((Y + 56 + 2)) # drawing area inside its frame
}
# Checks that the program is still running, then ends it.
stop_program() { # what
    kill -0 "$app_pid" 2>/dev/null && pass "$1: program still running" || fail "$1: program ended"
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
}

# The program's window as a PNG file, once it has stopped changing: two
# screenshots in a row alike.
window_shot() { # file
    import -window "$window" "$1"
    for _ in $(seq 20); do
        sleep 0.2
        import -window "$window" "$work/again.png"
        [ "$(compare -metric AE "$1" "$work/again.png" null: 2>&1)" = 0 ] && return
        mv "$work/again.png" "$1"
    done
}

# Places in the window, in pixels (design positions in twips / 15).
click_at() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep 0.25; }
press_point() { click_at $((surface_x + $1)) $((surface_y + $2)) "${3:-1}"; }
button() { click_at $((X + 376 + 36)) $((Y + 152 + 40 * $1 + 12)); }
list_row() { click_at $((X + $1 + 12)) $((Y + 56 + 2 + 18 * $2 + 9)); } # list left edge, row

copy_report() {
    printf 'sentinel' | xclip -selection clipboard -i
    click_at $((X + 8 + 200)) $((Y + 296 + 40))
    xdotool key ctrl+a; sleep 0.1; xdotool key ctrl+c
    # The copy is done when the sentinel has gone from the clipboard; a busy
    # machine may take a while.
    for _ in $(seq 30); do
        sleep 0.1
        xclip -selection clipboard -o >"$work/report.txt" 2>/dev/null || true
        [ "$(cat "$work/report.txt")" != sentinel ] && break
    done
}
# The decimal separator that the program's regional settings give.
separator=.
check_report() { # expected-file what
    copy_report
    # The box's lines end in CR LF; the clipboard has the toolkit's line feeds.
    # The expected reports are written with a full stop; the separator is the
    # only character that the regional settings change.
    tr -d '\r' <"$expected_dir/$1" | tr . "$separator" >"$work/expected.txt"
    if cmp -s "$work/expected.txt" "$work/report.txt"; then
        pass "$2: report line for line"
    else
        fail "$2: report differs"
        diff "$work/expected.txt" "$work/report.txt" | head -20
    fi
}

# Presses the three points (x y button each), runs the calculation ("Изчисли")
# and checks the report.
#   press_and_check expected-file what x y b x y b x y b
press_and_check() {
    local file=$1 what=$2
    shift 2
    while [ $# -ge 3 ]; do press_point "$1" "$2" "$3"; shift 3; done
    button 0
    check_report "$file" "$what"
}

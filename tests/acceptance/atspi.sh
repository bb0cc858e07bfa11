#!/bin/bash
# The built program read through a real AT-SPI client, as a screen reader
# reads it: its own Xvfb, a private D-Bus session with the accessibility bus.
#   atspi.sh path/to/trivyrhnik
set -u
if [ -z "${TRIVYRHNIK_ATSPI_INNER:-}" ]; then
    # A private session bus for this test alone.
    exec env TRIVYRHNIK_ATSPI_INNER=1 dbus-run-session -- "$0" "$@"
fi
program=$(readlink -f "$1")
source "$(dirname "$0")/session.sh"

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
launcher_pid=$!
trap 'kill $launcher_pid 2>/dev/null; cleanup' EXIT
sleep 0.5

start_program LC_ALL=C.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program"
press_point 10 10; press_point 40 10; press_point 10 50
list_row 360 0 # the X list's first row: the list takes the focus
/usr/bin/python3 "$(dirname "$0")/atspi_check.py" "$expected_dir/right.txt" . || failures=$((failures + 1))
stop_program "AT-SPI"
echo "$failures failure(s)"
[ "$failures" = 0 ]

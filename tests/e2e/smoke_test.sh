#!/usr/bin/env bash
# Starts roRezodu.exe under Wine, finds its main window, checks its size and that it
# shows something, closes it with Alt+F4 and checks that the program ends with 0.
# Usage: smoke_test.sh roRezodu.exe rz_probe.exe (inside a display, e.g. xvfb-run).
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$1" "$2"

rz_start
rz_wait_window roRezodu 90
line=$(rz_probe window roRezodu)
[ "$(rz_field "$line" 3)" = "0,0,600,400" ] || rz_fail "window rectangle $(rz_field "$line" 3), expected 0,0,600,400"

# The window must show something: its menu bar and frame are not one flat colour.
shows_something() {
  import -window root -crop 600x400+0+0 "$RZ_OUT/window.png" 2>/dev/null &&
    [ "$(rz_colours "$RZ_OUT/window.png")" -gt 2 ]
}
rz_wait_until 20 shows_something || rz_fail "the window area shows a single colour"
[ -n "${SMOKE_SCREENSHOT:-}" ] && cp "$RZ_OUT/window.png" "$SMOKE_SCREENSHOT"

rz_keys roRezodu alt+F4
rz_wait_exit 30 || rz_fail "the program did not end after Alt+F4"
[ "$RZ_STATUS" -eq 0 ] || rz_fail "the program ended with exit code $RZ_STATUS"
echo "smoke: window 600x400 at 0,0 shown and closed, exit code 0"

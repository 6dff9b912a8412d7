#!/usr/bin/env bash
# The keyboard and the panel's place: Tab walks through the panel's controls in their
# order, an accelerator still works while a control has the focus, and in full screen
# with the panel switched off the mouse at the bottom edge shows the panel, which
# slides out of view and is hidden once the mouse moves away.
# Usage: panel_keys_test.sh roRezodu.exe rz_probe.exe rz_make_film.exe (in a display).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/panel_lib.sh"
rz_e2e_init "$1" "$2"
rz_panel_init "$3"

rz_film "$RZ_OUT/film.kof" 300x10
rz_start "$(rz_windows_path "$RZ_OUT/film.kof")"
rz_wait_window roRezodu
rz_wait_segment 1
rz_keys roRezodu F10  # paused: Play is shown, Pause hidden

# Play, Stop, Segments, Previous, Next, Full screen, bar, speed, volume, and round again.
expected="Button 110
Button 112
Button 113
Button 114
Button 115
Button 121
koProgressBar 0
koSlider 0
koSlider 0
Button 110"
order=""
for _ in 1 2 3 4 5 6 7 8 9 10; do
  rz_keys roRezodu Tab
  order+="$(rz_focus)"$'\n'
done
diff <(printf '%s\n' "$expected") <(printf '%s' "$order") >&2 || rz_fail "tab order differs (above)"

# F6 while the Play button has the focus still toggles the segment list.
rz_keys roRezodu F6
rz_wait_until 5 rz_child_visible koSegmentList || rz_fail "F6 on a focused button did not show the list"
rz_keys roRezodu Escape
rz_wait_until 5 eval '! rz_child_visible koSegmentList' || rz_fail "Escape did not close the list"

# Full screen (Alt+Enter) switches the panel off.
rz_keys roRezodu alt+Return
rz_wait_until 10 eval '! rz_child_visible koBottomPanel' || rz_fail "the panel stayed in full screen"
read -r w h <<<"$(rz_client_size)"
client=$(rz_probe client roRezodu)
x0=$(rz_field "$client" 1)
y0=$(rz_field "$client" 2)
panel_top() { rz_field "$(rz_field "$(rz_child koBottomPanel)" 4 | tr ',' '\t')" 2; }
xdotool mousemove $((x0 + w / 2)) $((y0 + h - 5))
rz_wait_until 5 rz_child_visible koBottomPanel || rz_fail "the mouse at the bottom edge did not show the panel"
[ "$(panel_top)" = $((h - 40)) ] || rz_fail "the shown panel is not docked: top $(panel_top)"

# Away from the edge it slides down (2 pixels every 40 ms) and is hidden below the edge.
xdotool mousemove $((x0 + w / 2)) $((y0 + h / 2))
sliding() { rz_child_visible koBottomPanel && [ "$(panel_top)" -gt $((h - 40)) ]; }
rz_wait_until 3 sliding || rz_fail "the panel did not slide out"
rz_wait_until 5 eval '! rz_child_visible koBottomPanel' || rz_fail "the panel was not hidden after sliding"

rz_keys roRezodu alt+F4
rz_wait_exit 30 || rz_fail "the player did not end"
echo "panel keys: tab order, accelerators on a focused control, panel shown at the edge and slid out"

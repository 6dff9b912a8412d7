#!/usr/bin/env bash
# A window moved from screen to screen keeps the volume and the speed its user set. On
# habits.kof (its first segment has sound), paused, a press on each slider sets the
# volume to 15 % and the speed to step 2; then the window is told, as the system tells
# a window that reaches a screen of another scale (rz_probe dpi: WM_DPICHANGED), that
# its scale is 200, 125, 150 and 100 %: back at 100 % it has its old size and looks
# exactly as before the moves (speed and volume labels, thumbs, everything). Then 200,
# 300, 125 and 100 % (at 300 % the window is held to the test's screen, 1280 x 1024,
# so it comes back smaller). With MCI's trace on, no volume command reaches MCI after
# the user's own. (A thumb that turned its pixel on the new track back into a value
# made 15 % into 18 % at 200 %; the speed's steps moved only at 400 %, beyond this
# screen: slider_model_test has every value at every scale.)
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"
RZ_HEAP_CHECK="${RZ_HEAP_CHECK:+$RZ_HEAP_CHECK,}+mci"

# volume_commands: how many volume commands (MCI_SETAUDIO) MCI has had so far.
volume_commands() { grep -c 'mciSendCommandW (.*MCI_SETAUDIO' "$RZ_OUT/player.log" || true; }

rz_open "$RZ_FILMS/habits.kof"
rz_wait_menu_state roRezodu 1.0 enabled,checked 30
rz_pause

read -r w h <<<"$(rz_client_size)"
before=$(volume_commands)
# The volume slider lies at 494, the speed slider at 420 of the panel, 50 and 70 wide,
# 16-pixel thumbs: a press at 13 puts the volume thumb at 5 of 34 pixels, 15 %; one at
# 22 the speed thumb at 14 of 54, step 2. Both are the pixels of their values, where a
# thumb placed from its value on the way back lies.
rz_click roRezodu $((494 + 13)) $((h - 40 + 28))
rz_click roRezodu $((420 + 22)) $((h - 40 + 28))
rz_mouse_to $((w / 2)) $(((h - 40) / 2))
rz_wait_until 5 eval '[ "$(volume_commands)" -gt "$before" ]' || rz_fail "the press on the volume slider reached no MCI"
sleep 1  # the tooltips of the sliders go
window=$(rz_field "$(rz_probe window roRezodu)" 3)
rz_screenshot roRezodu "$RZ_OUT/before.png"
before=$(volume_commands)

# tell DPI...: the window is told of each scale in turn.
tell() {
  for dpi in "$@"; do
    rz_probe dpi roRezodu "$dpi" >/dev/null || rz_fail "the window could not be told of $dpi DPI"
    sleep 0.3
  done
}
tell 192 120 144 96
[ "$(rz_field "$(rz_probe window roRezodu)" 3)" = "$window" ] ||
  rz_fail "back at 96 DPI the window is at $(rz_field "$(rz_probe window roRezodu)" 3), not at $window"
sleep 0.5  # the volume label is refreshed every 200 ms
rz_screenshot roRezodu "$RZ_OUT/after.png"
rz_keep "$RZ_OUT/before.png" "$RZ_OUT/after.png"
rz_same_image "$RZ_OUT/before.png" "$RZ_OUT/after.png" ||
  rz_fail "back at 96 DPI the window differs from before the moves: $(convert "$RZ_OUT/before.png" "$RZ_OUT/after.png" \
    -compose difference -composite -threshold 0 -format '%@' info:)"
tell 192 288 120 96
[ "$(volume_commands)" = "$before" ] ||
  rz_fail "$(($(volume_commands) - before)) volume commands reached MCI while the window moved between screens"
rz_close
echo "$RZ_NAME: volume and speed unchanged over 200, 125, 150, 100, 200, 300, 125 and 100 %; no volume command to MCI"

#!/usr/bin/env bash
# The two sliders. A press at the volume slider's left end turns the sound down: the
# volume label changes and keeps its new value through its 200 ms refreshes. A film of
# 20 s started with /closeonfinish ends in a fraction of its length once the speed
# slider's thumb is dragged to its right end (speed "MAX").
# Usage: panel_sliders_test.sh roRezodu.exe rz_probe.exe rz_make_film.exe (in a display).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/panel_lib.sh"
rz_e2e_init "$1" "$2"
rz_panel_init "$3"

rz_film "$RZ_OUT/film.kof" 100x10s 100x10s
rz_start "$(rz_windows_path "$RZ_OUT/film.kof")" /closeonfinish
rz_wait_window roRezodu
rz_wait_segment 1

# The volume label lies at x = 548 .. w - 2, y = h - 19 .. h - 3.
label() {
  rz_screenshot roRezodu "$RZ_OUT/label.png"
  convert "$RZ_OUT/label.png" -crop "$((w - 550))x16+548+$((h - 19))" +repage "$1"
}
read -r w h <<<"$(rz_client_size)"
label "$RZ_OUT/full.png"
rz_panel_click $((494 + 1)) 28
sleep 0.2
label "$RZ_OUT/down.png"
! rz_same_image "$RZ_OUT/full.png" "$RZ_OUT/down.png" || rz_fail "the volume label did not change"
sleep 0.6
label "$RZ_OUT/later.png"
rz_same_image "$RZ_OUT/down.png" "$RZ_OUT/later.png" || rz_fail "the volume label went back"

# The speed slider lies at x = 420 .. 490, y = 18 .. 38 of the panel; at normal speed
# its thumb covers pixels 20 .. 35. Press on the thumb and drag past the right end.
client=$(rz_probe client roRezodu)
x0=$(rz_field "$client" 1)
y=$(($(rz_field "$client" 2) + h - 40 + 18 + 10))
started=$SECONDS
xdotool mousemove $((x0 + 420 + 28)) "$y" mousedown 1
for x in 440 460 480 500 520; do xdotool mousemove $((x0 + x)) "$y"; sleep 0.05; done
xdotool mouseup 1
rz_wait_exit 10 || rz_fail "the film did not end within 10 s of the drag (20 s at normal speed)"
[ "$RZ_STATUS" -eq 0 ] || rz_fail "exit code $RZ_STATUS"
echo "panel sliders: the volume label followed its slider; the film ended $((SECONDS - started)) s after the drag"

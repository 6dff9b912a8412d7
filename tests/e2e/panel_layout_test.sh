#!/usr/bin/env bash
# The bottom panel as a user sees it with a paused film: the controls at their places,
# the information strip, and the progress bar whose played part reaches the pixel of
# the position the picture shows, with the mark between the two segments.
# Usage: panel_layout_test.sh roRezodu.exe rz_probe.exe rz_make_film.exe (in a display).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/panel_lib.sh"
rz_e2e_init "$1" "$2"
rz_panel_init "$3"

# 10 s and 45 s, as the panel's worked example: the mark lies at x = 38.
rz_film "$RZ_OUT/film.kof" 100x10 450x10
rz_start "$(rz_windows_path "$RZ_OUT/film.kof")"
rz_wait_window roRezodu
rz_wait_segment 1
sleep 1.5
rz_keys roRezodu F10
sleep 0.5
read -r w h <<<"$(rz_client_size)"
top=$((h - 40))

# Every control at its place in the panel, the panel docked along the bottom; paused,
# Play is shown and Pause hidden.
expected="koBottomPanel 0 0,$top,$w,$h 1
Button 110 8,$((top + 8)),32,$((top + 32)) 1
Button 111 8,$((top + 8)),32,$((top + 32)) 0
Button 112 36,$((top + 8)),60,$((top + 32)) 1
Button 113 72,$((top + 8)),96,$((top + 32)) 1
Button 114 100,$((top + 8)),124,$((top + 32)) 1
Button 115 128,$((top + 8)),152,$((top + 32)) 1
Button 121 164,$((top + 8)),188,$((top + 32)) 1
koProgressBar 0 210,$((top + 23)),410,$((top + 33)) 1
koSlider 0 420,$((top + 18)),490,$((top + 38)) 1
koSlider 0 494,$((top + 18)),544,$((top + 38)) 1"
actual=$(rz_probe children roRezodu |
  awk -F'\t' '$2 != "koSegmentList" && $2 != "ListBox" && $6 != "X" {print $2, $3, $4, $5}')
diff <(printf '%s\n' "$expected") <(printf '%s\n' "$actual") >&2 || rz_fail "panel controls differ (above)"

# The picture tells the frame shown; the time line and the bar count to its end.
read -r segment frame <<<"$(rz_shown_frame)"
[ "$segment" = 1 ] || rz_fail "paused in segment $segment, expected 1"
rz_screenshot roRezodu "$RZ_OUT/paused.png"
# 2 + round(196 x position / 55) with position (frame + 1) / 10; never a half here.
edge=$(awk -v f="$frame" 'BEGIN { printf "%d", 2 + int(196 * (f + 1) / 10 / 55 + 0.5) }')
bar_colour=a0a8b8
row=$((top + 23 + 5))
for x in $(seq 2 196); do
  colour=$(rz_pixel "$RZ_OUT/paused.png" $((210 + x)) "$row" | tr 'A-F' 'a-f')
  if [ "$x" -eq 38 ]; then want=000000; elif [ "$x" -lt "$edge" ]; then want=$bar_colour; else want=ffffff; fi
  [ "$colour" = "$want" ] || rz_fail "bar pixel $x is $colour, expected $want (frame $frame, edge $edge)"
done
[ "$(rz_pixel "$RZ_OUT/paused.png" $((210 + 38)) $((top + 23 + 2)))" = 000000 ] ||
  rz_fail "no mark at the top of x = 38"

# The slanted strip in its colour with its black bottom edge, on the white panel.
strip=9098a8
[ "$(rz_pixel "$RZ_OUT/paused.png" 212 $((top + 15)) | tr 'A-F' 'a-f')" = $strip ] || rz_fail "no strip left"
[ "$(rz_pixel "$RZ_OUT/paused.png" $((w - 4)) $((top + 15)) | tr 'A-F' 'a-f')" = $strip ] || rz_fail "no strip right"
[ "$(rz_pixel "$RZ_OUT/paused.png" 300 $((top + 16)))" = 000000 ] || rz_fail "no black edge under the strip"
[ "$(rz_pixel "$RZ_OUT/paused.png" 190 $((top + 36)) | tr 'A-F' 'a-f')" = ffffff ] || rz_fail "panel not white"
# White letters of the format line and the time line.
letters() {
  convert "$RZ_OUT/paused.png" -crop "$1" +repage -fill black +opaque white -format '%[fx:int(mean*w*h)]' info:
}
[ "$(letters "150x13+214+$((top + 2))")" -gt 40 ] || rz_fail "no format line in the strip"
[ "$(letters "169x13+$((w - 171))+$((top + 2))")" -gt 40 ] || rz_fail "no time line in the strip"

rz_keys roRezodu alt+F4
rz_wait_exit 30 || rz_fail "the player did not end"
echo "panel layout: controls in place, strip drawn, bar filled to pixel $edge for frame $frame"

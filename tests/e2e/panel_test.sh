#!/usr/bin/env bash
# The bottom panel and the segment list on panel.kof (make_e2e_films.cpp): segment 1 has
# no frame rate, then 10 s, 5 s and 45 s, so the bar's parts (marks at x = 35 and 51 of
# 200) and the film's segments are numbered differently. One message for segment 1; the
# controls, strip and bar of a paused film; bar clicks, buttons, full screen and the
# panel at the bottom edge; the list; the volume label; the speed slider at MAX.
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"

# shown_frame: "SEGMENT FRAME" of the picture shown now (red = frame % 256, green =
# 30 + 60 x (segment - 1), blue = 20 + 40 x (frame / 256)), read at its middle.
shown_frame() {
  local w h c
  read -r w h <<<"$(rz_client_size)"
  rz_screenshot roRezodu "$RZ_OUT/frame.png"
  c=$(rz_pixel "$RZ_OUT/frame.png" $((w / 2)) $(((h - 40) / 2)))
  local r=$((16#${c:0:2})) g=$((16#${c:2:2})) b=$((16#${c:4:2}))
  if [ $(((g - 30) % 60)) -ne 0 ] || [ $(((b - 20) % 40)) -ne 0 ]; then echo "none $c"; return; fi
  echo "$(((g - 30) / 60 + 1)) $((r + 256 * ((b - 20) / 40)))"
}
showing() { [ "$(shown_frame | cut -d' ' -f1)" = "$1" ]; }
wait_segment() { rz_wait_until 10 showing "$1" || rz_fail "segment $1 is not shown (shows $(shown_frame))"; }
visible() { rz_child_visible "$@"; }
hidden() { ! visible "$@"; }
button() { rz_panel_click $(($1 + 12)) 20; }

rz_open "$RZ_FILMS/panel.kof"
rz_wait_until 20 rz_probe boxes >/dev/null || rz_fail "segment 1 without a rate was not told"
sleep 1  # a second message would show by now
[ "$(rz_box_count)" = 1 ] && grep -q 'FPS = 0' <<<"$(rz_probe boxes)" ||
  rz_fail "not one message naming the rate: $(rz_probe boxes)"
rz_keys "$(rz_field "$(rz_probe boxes)" 2)" Return
wait_segment 2
sleep 1.5
rz_pause

# Paused: Play shown, Pause hidden in its place. (Every control's place is checked by
# the clicks below, which find them there, and by the bar's pixels.)
visible Button 110 && hidden Button 111 || rz_fail "paused, but Play is hidden or Pause shown"
read -r w h <<<"$(rz_client_size)"
top=$((h - 40))

# The bar's played part ends at 2 + round(196 x position / 60), position (frame + 1) / 10
# (the pixels of every position: ProgressModel.SecondsToPixelsAndTheMarks); the marks at
# 35 and 51. Its row 3 is read: the activity strip takes rows 5 to 7.
read -r segment frame <<<"$(shown_frame)"
[ "$segment" = 2 ] || rz_fail "paused in segment $segment, expected 2"
mv "$RZ_OUT/frame.png" "$RZ_OUT/paused.png"  # the frame's own picture: the bar as it showed it
edge=$(awk -v f="$frame" 'BEGIN { v = 196 * (f + 1) / 600; e = int(v + 0.5); if (e - v == 0.5 && e % 2) e--
                              print 2 + e }')
for check in "2 a0a8b8" "$((edge - 1)) a0a8b8" "$edge ffffff" "35 000000" "36 ffffff" "51 000000" "196 ffffff"; do
  set -- $check
  colour=$(rz_pixel "$RZ_OUT/paused.png" $((210 + $1)) $((top + 26)))
  [ "$colour" = "$2" ] || rz_fail "bar pixel $1 is $colour, expected $2 (frame $frame, edge $edge)"
done
# The marks reach the bar's top; the slanted strip, its black edge, the white panel, and
# white letters in the format line and the time line.
for check in "245 $((top + 25)) 000000" "212 $((top + 15)) 9098a8" "$((w - 4)) $((top + 15)) 9098a8" \
  "300 $((top + 16)) 000000" "190 $((top + 36)) ffffff"; do
  set -- $check
  [ "$(rz_pixel "$RZ_OUT/paused.png" "$1" "$2")" = "$3" ] || rz_fail "pixel $1,$2 is not $3"
done
letters() {
  convert "$RZ_OUT/paused.png" -crop "$1" +repage -fill black +opaque white -format '%[fx:int(mean*w*h)]' info:
}
[ "$(letters "150x13+214+$((top + 2))")" -gt 40 ] || rz_fail "no format line in the strip"
[ "$(letters "169x13+$((w - 171))+$((top + 2))")" -gt 40 ] || rz_fail "no time line in the strip"

# (The Tab order: accessibility_test.sh and FocusOrder natively.)
# F10 with the focus on a panel button, then in the list, pauses and takes no key after it.
for place in button list; do
  if [ $place = list ]; then
    rz_open_list
  fi
  rz_keys roRezodu F9
  rz_wait_menu_state roRezodu 1.0 enabled,checked
  rz_keys roRezodu F10 F9
  sleep 0.5
  rz_menu_state_is roRezodu 1.0 enabled,checked || rz_fail "F9 after F10 was lost with the focus on $(rz_focus)"
  rz_keys roRezodu F10
done
rz_keys roRezodu Escape
rz_open_list
rz_keys roRezodu Escape
rz_wait_until 5 hidden koSegmentList || rz_fail "Escape did not close the list"

# x = 34 lies left of the mark at 35, but its time rounds to 10 s: the bar's second part.
rz_panel_click $((210 + 34)) 28
wait_segment 3
rz_panel_click $((210 + 150)) 28
wait_segment 4

# Previous, Next, Pause and Play (in one place), full screen.
button 100
wait_segment 3
button 128
wait_segment 4
button 8
sleep 0.3
paused=$(shown_frame)
sleep 0.6
[ "$(shown_frame)" = "$paused" ] || rz_fail "the picture moved on after Pause: $paused, then $(shown_frame)"
visible Button 110 || rz_fail "Play is not shown while paused"
button 8
rz_wait_until 3 eval '[ "$(shown_frame)" != "$paused" ]' || rz_fail "Play did not go on from $paused"
button 164
rz_wait_until 10 eval '[ "$(rz_client_size)" != "$w $h" ]' || rz_fail "the full-screen button changed nothing"
# Full screen switches the panel off; it docks while the mouse is at the bottom edge,
# and away from it slides down (2 pixels every 40 ms) until it is hidden.
rz_wait_until 5 hidden koBottomPanel || rz_fail "the panel stayed in full screen"
read -r x0 y0 fw fh <<<"$(rz_probe client roRezodu | tr '\t' ' ')"
panel_top() { rz_field "$(rz_child koBottomPanel)" 4 | cut -d, -f2; }
docked() { visible koBottomPanel && [ "$(rz_field "$(rz_child koBottomPanel)" 4)" = "0,$((fh - 40)),$fw,$fh" ]; }
xdotool mousemove $((x0 + 200)) $((y0 + fh - 3))
rz_wait_until 5 docked || rz_fail "no panel at the bottom edge in full screen: $(rz_child koBottomPanel)"
xdotool mousemove $((x0 + 200)) $((y0 + fh / 2))
rz_wait_until 3 eval 'visible koBottomPanel && [ "$(panel_top)" -gt $((fh - 40)) ]' || rz_fail "the panel did not slide"
rz_wait_until 5 hidden koBottomPanel || rz_fail "the panel was not hidden after sliding"
# F7 during a slide docks the panel for good.
xdotool mousemove $((x0 + 200)) $((y0 + fh - 3))
rz_wait_until 5 docked || rz_fail "no panel at the bottom edge again"
xdotool mousemove $((x0 + 200)) $((y0 + fh / 2))
rz_wait_until 3 eval '[ "$(panel_top)" -gt $((fh - 40)) ]' || rz_fail "the panel did not slide again"
rz_keys roRezodu F7
sleep 1.5
docked || rz_fail "the panel switched on during its slide is not there: $(rz_child koBottomPanel)"
rz_keys roRezodu F7
rz_keys roRezodu alt+Return
rz_wait_until 10 eval '[ "$(rz_client_size)" = "$w $h" ]' || rz_fail "full screen was not left: $(rz_client_size)"

# The Segments button opens the list, its X closes it; Stop makes segment 1 current
# again without a second message.
button 72
rz_open_list "the Segments button"
rz_click roRezodu $((400 - 20 + 7)) $((5 + 7))
rz_wait_until 5 hidden koSegmentList || rz_fail "X did not close the list"
button 36
sleep 1.5
[ "$(rz_box_count)" = 0 ] || rz_fail "a message after Stop: $(rz_probe boxes)"

# F6 gives the list the focus: Down x 3 and Enter start segment 4, Escape starts
# nothing, a double click on the second line (lines start at y = 24 + 2) starts segment 2.
for step in "Down Down Down Return:4" "Escape:4" "double-click:2"; do
  keys=${step%:*}
  rz_open_list
  [ "$(rz_focus)" = "ListBox 0" ] || rz_fail "the list does not have the focus: $(rz_focus)"
  if [ "$keys" = double-click ]; then rz_click roRezodu 100 45 && xdotool click 1; else rz_keys roRezodu $keys; fi
  rz_wait_until 5 hidden koSegmentList || rz_fail "the list stayed open after $keys"
  [ "$keys" = double-click ] || [ "$(rz_focus)" = "Button 113" ] || rz_fail "after $keys the focus is on $(rz_focus)"
  wait_segment "${step#*:}"
done
[ "$(rz_box_count)" = 0 ] || rz_fail "a message appeared: $(rz_probe boxes)"

# A press at the volume slider's left end turns the label down, and its 200 ms refreshes
# keep it there.
rz_volume_label "$RZ_OUT/full.png"
rz_panel_click $((494 + 1)) 28
sleep 0.2
rz_volume_label "$RZ_OUT/down.png"
! rz_same_image "$RZ_OUT/full.png" "$RZ_OUT/down.png" || rz_fail "the volume label did not change"
sleep 0.6
rz_volume_label "$RZ_OUT/later.png"
rz_same_image "$RZ_OUT/down.png" "$RZ_OUT/later.png" || rz_fail "the volume label went back"

# The speed slider (x = 420 .. 490, y = 18 .. 38; thumb at 20 .. 35 at x1) dragged past
# its right end: the film's last 60 s play in a moment and it stops.
read -r x0 y0 _ <<<"$(rz_probe client roRezodu | tr '\t' ' ')"
y=$((y0 + top + 28))
xdotool mousemove $((x0 + 448)) "$y" mousedown 1
for x in 460 480 500 520; do xdotool mousemove $((x0 + x)) "$y"; sleep 0.05; done
xdotool mouseup 1
rz_wait_menu_state roRezodu 1.2 enabled,checked 10
rz_close
echo "$RZ_NAME: one message for the rate 0, controls, bar, buttons, list, sliders"

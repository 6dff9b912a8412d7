#!/usr/bin/env bash
# A film driven with the mouse and the segment list: a segment without a frame rate is
# told once, also after Stop leaves it current; clicks on the progress bar start the
# segment under the mouse (the bar leaves that segment out, so its parts and the film's
# segments are numbered differently); the panel's buttons run their commands; the list
# starts the line chosen with Down and Enter or a double click, Escape closes it, and
# the focus goes back to the panel's Segments button.
# Usage: panel_mouse_test.sh roRezodu.exe rz_probe.exe rz_make_film.exe (in a display).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/panel_lib.sh"
rz_e2e_init "$1" "$2"
rz_panel_init "$3"

# Segment 1 has no rate; the bar shows 10 s (segment 2), 5 s (3) and 45 s (4), marks at
# x = 35 and 51 of 200.
rz_film "$RZ_OUT/film.kof" 20x0 100x10 50x10 450x10
rz_start "$(rz_windows_path "$RZ_OUT/film.kof")"
rz_wait_window roRezodu
rz_wait_until 20 rz_probe boxes >/dev/null || rz_fail "segment 1 without a rate was not told"
sleep 1  # a second message would show by now
[ "$(rz_box_count)" = 1 ] || rz_fail "expected one message: $(rz_probe boxes)"
grep -q 'FPS = 0' <<<"$(rz_probe boxes)" || rz_fail "the message does not name the rate: $(rz_probe boxes)"
rz_keys "$(rz_field "$(rz_probe boxes)" 2)" Return
rz_wait_segment 2

# x = 34 lies left of the mark at 35, but its time rounds to 10 s: the bar's second part.
rz_panel_click $((210 + 34)) 28
rz_wait_segment 3
rz_panel_click $((210 + 150)) 28
rz_wait_segment 4

# The buttons: Previous, Next, Pause and Play (in one place), full screen there and back.
button() { rz_panel_click $(($1 + 12)) 20; }
button 100
rz_wait_segment 3
button 128
rz_wait_segment 4
button 8
sleep 0.3
paused=$(rz_shown_frame)
sleep 0.6
[ "$(rz_shown_frame)" = "$paused" ] || rz_fail "the picture moved on after Pause: $paused, then $(rz_shown_frame)"
[ "$(rz_field "$(rz_child Button 110)" 5)" = 1 ] || rz_fail "Play is not shown while paused"
button 8
rz_wait_until 3 eval '[ "$(rz_shown_frame)" != "$paused" ]' || rz_fail "Play did not go on from $paused"
read -r w h <<<"$(rz_client_size)"
button 164
rz_wait_until 10 eval '[ "$(rz_client_size)" != "$w $h" ]' || rz_fail "the full-screen button changed nothing"
# Full screen switches the panel off; it slides away, and comes back at the bottom edge.
rz_wait_until 5 eval '! rz_child_visible koBottomPanel' || rz_fail "the panel stayed in full screen"
read -r x0 y0 fw fh <<<"$(rz_probe client roRezodu | tr '\t' ' ')"
docked() {
  rz_child_visible koBottomPanel && [ "$(rz_field "$(rz_child koBottomPanel)" 4)" = "0,$((fh - 40)),$fw,$fh" ]
}
xdotool mousemove $((x0 + 200)) $((y0 + fh - 3))
rz_wait_until 5 docked || rz_fail "no panel at the bottom edge in full screen: $(rz_child koBottomPanel)"
button 164
rz_wait_until 10 eval '[ "$(rz_client_size)" = "$w $h" ]' || rz_fail "full screen was not left: $(rz_client_size)"

# The Segments button opens the list, its X closes it.
button 72
rz_wait_until 5 rz_child_visible koSegmentList || rz_fail "the Segments button did not show the list"
rz_click roRezodu $((400 - 20 + 7)) $((5 + 7))
rz_wait_until 5 eval '! rz_child_visible koSegmentList' || rz_fail "X did not close the list"

# Stop (its button): segment 1 is current again; nothing more is told.
button 36
sleep 1.5
[ "$(rz_box_count)" = 0 ] || rz_fail "a message after Stop: $(rz_probe boxes)"

# The list: F6 shows it with the focus on its lines; Down, Down, Enter starts segment 3.
rz_keys roRezodu F6
rz_wait_until 5 rz_child_visible koSegmentList || rz_fail "F6 did not show the segment list"
[ "$(rz_focus)" = "ListBox 0" ] || rz_fail "the list does not have the focus: $(rz_focus)"
rz_keys roRezodu Down Down Return
rz_wait_segment 3
! rz_child_visible koSegmentList || rz_fail "the list stayed open after Enter"
[ "$(rz_focus)" = "Button 113" ] || rz_fail "after Enter the focus is on $(rz_focus)"

# Escape closes the list without starting anything.
rz_keys roRezodu F6
rz_wait_until 5 rz_child_visible koSegmentList || rz_fail "F6 did not show the list again"
rz_keys roRezodu Escape
rz_wait_until 5 eval '! rz_child_visible koSegmentList' || rz_fail "Escape did not close the list"
[ "$(rz_focus)" = "Button 113" ] || rz_fail "after Escape the focus is on $(rz_focus)"
[ "$(rz_shown_segment)" = 3 ] || rz_fail "Escape changed the segment: $(rz_shown_frame)"
[ "$(rz_box_count)" = 0 ] || rz_fail "a message appeared: $(rz_probe boxes)"

# A double click on the second line (lines start at y = 24 + 2) starts segment 2.
rz_keys roRezodu F6
rz_wait_until 5 rz_child_visible koSegmentList || rz_fail "F6 did not show the list a third time"
rz_click roRezodu 100 45
xdotool click 1
rz_wait_segment 2
! rz_child_visible koSegmentList || rz_fail "the list stayed open after the double click"

rz_keys roRezodu alt+F4
rz_wait_exit 30 || rz_fail "the player did not end"
echo "panel mouse: one message for the segment without a rate, bar clicks and the list start the chosen segments"

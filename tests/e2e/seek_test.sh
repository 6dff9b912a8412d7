#!/usr/bin/env bash
# Seeking as a user does. Paused, the seek keys (segment start and end, 5 seconds back
# and forward across the segment boundary, a frame back and forward) show exactly the
# picture `kof frames` renders for the frame they land on; Save picture (Ctrl+S) writes
# that picture, pointer included, as a PNG; dragging on the progress bar shows the
# frame under the mouse and leaves the film playing.
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"

kof_frame() { printf '%s/frames/seek-%d/seg%03d_frame%05d.png' "$RZ_OUT" "$1" "$1" "$2"; }
playing() { rz_child_visible Button 111; }

rz_open_seek_film
rz_press_and_expect alt+Home 1 0 alt+Right 1 50 ctrl+period 1 51 alt+Right 2 41 ctrl+comma 2 40
rz_child_visible Button 110 || rz_fail "the seeks did not leave the film paused"
# (The seek items and Save picture in the menu bar and the context menu:
# UiTexts.EveryMenuItemGetsItsKeyAndShortcut; when they are enabled:
# MenuState.TheLaterItemsFollowTheFilmThePlayStateAndTheShellsChoices.)

# Save picture: the dialog, a file name typed, the PNG equal to kof's picture.
saved="$RZ_OUT/saved picture.png"
rz_keys roRezodu ctrl+s
rz_save_as "$(rz_windows_path "$saved")"
rz_wait_until 20 test -s "$saved" || rz_fail "no picture was saved"
rz_wait_until 10 eval '[ "$(rz_box_count)" -eq 0 ]' || rz_fail "the Save dialog stayed open"
sleep 0.5
rz_same_image "$saved" "$(kof_frame 2 40)" || rz_fail "the saved picture differs from kof's frame 40 of segment 2"

rz_press_and_expect alt+Left 1 50 alt+End 1 59

# Dragging on the bar (14 s over 196 pixels from x = 2): the press starts segment 1,
# the drag to x = 100 shows 7 s into the film, frame 10 of segment 2, which plays on.
rz_client roRezodu
bar_x=$((RZ_X + 210)) bar_y=$((RZ_Y + RZ_H - 40 + 28))
xdotool mousemove $((bar_x + 10)) "$bar_y" mousedown 1
for x in 30 50 70 90 100; do xdotool mousemove $((bar_x + x)) "$bar_y"; sleep 0.05; done
read -r segment frame <<<"$(rz_seek_shown)"
xdotool mouseup 1
[ "$segment" = 2 ] && [ "$frame" -ge 10 ] && [ "$frame" -le 25 ] ||
  rz_fail "the drag to 7 s shows segment $segment, frame $frame"
rz_wait_until 5 playing || rz_fail "the film does not play on after the drag"
read -r segment later <<<"$(rz_seek_shown)"
[ "$segment" = 2 ] && [ "$later" -gt "$frame" ] || rz_fail "after the drag: segment $segment, frame $later"

rz_keys roRezodu alt+F4
rz_wait_exit 30 || rz_fail "the program did not end"
echo "seek: keys, Save picture and the drag show the frames kof renders"

#!/usr/bin/env bash
# A sequence that once left the player without a window and deaf to Alt+F4, repeated
# with the other core kept busy: habits.kof (32 s) opened, Space pauses, a double click
# enters full screen and another leaves it, then the mouse goes over the bar and the
# wheel turns one notch up. The same again with the segment list open. After each round
# the window is still there, shows the film and closes on Alt+F4 with exit code 0 and
# no temporary folder left, and it was shown at every moment of the two changes.
# RZ_STRESS_ROUNDS sets the number of rounds (20).
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"

film="$RZ_FILMS/habits.kof"
first=$(rz_reference_frames "$film" 1)
rounds=${RZ_STRESS_ROUNDS:-20}

# The other core busy for the whole test (rz_wait_exit forgets the players' list, so the
# loop is ended by a trap of its own).
busy() { while :; do :; done; }
busy &
busy_pid=$!
trap 'kill "$busy_pid" 2>/dev/null; rz_cleanup' EXIT

# Each change is waited for until the X server shows it too, or the next double click
# could land by the window's old place.
window_there() { rz_window_is roRezodu 6 normal && [ "$(rz_client_size)" = "$w $h" ] && rz_x_agrees roRezodu; }
# Shown, and larger than the window was (a window that is not shown has no size here).
full_screen() {
  local size
  size=$(rz_client_size) && [ -n "$size" ] && [ "$size" != "$w $h" ] && rz_x_agrees roRezodu
}

# Watches in the background, while full screen is entered and left, that the window is
# shown at every moment: a window that hides itself while it changes its frame is not
# there for a click or a key, nor for a screen reader.
watch_shown() {
  wine "$RZ_PROBE" shown roRezodu 4 >"$RZ_OUT/shown" 2>/dev/null &
  watcher=$!
  rz_wait_until 10 grep -q watching "$RZ_OUT/shown" || rz_fail "the window was not there to watch (round $round)"
}

# One pass of the sequence, from a playing film with the window at its normal size.
sequence() {
  # Space
  rz_mouse_to "$pic_x" "$pic_y"
  xdotool click 1
  rz_keys roRezodu space
  rz_wait_until 10 rz_child_visible Button 110 || rz_fail "Space did not pause (round $round)"
  # double click into full screen
  watch_shown
  xdotool click --repeat 2 --delay 100 1
  rz_wait_until 10 full_screen || rz_fail "no full screen (round $round)"
  # double click out of full screen
  read -r fw fh <<<"$(rz_client_size)"
  rz_mouse_to $((fw / 2)) $((fh / 2))
  xdotool click --repeat 2 --delay 100 1
  rz_wait_until 10 window_there || rz_fail "full screen not left (round $round): $(rz_probe window roRezodu)"
  wait "$watcher" || rz_fail "the window was not shown for a moment (round $round): $(cat "$RZ_OUT/shown")"
  # a notch over the bar
  rz_mouse_to 230 "$bar_y"
  xdotool click 4
  sleep 0.5
  rz_wait_until 5 window_there || rz_fail "the window is gone after the notch (round $round)"
  rz_mouse_to "$pic_x" 5
  rz_keys roRezodu space  # plays on for the next pass
}

for round in $(seq 1 "$rounds"); do
  rz_open "$film"
  rz_wait_frame roRezodu 400 300 "$first" 30 >/dev/null
  read -r w h <<<"$(rz_client_size)"
  bar_y=$((h - 40 + 28))
  pic_x=$((w / 2)) pic_y=$(((h - 40) / 2))
  sequence
  rz_keys roRezodu F6
  rz_wait_until 10 rz_child_visible koSegmentList || rz_fail "F6 did not open the segment list (round $round)"
  read -r w h <<<"$(rz_client_size)"
  pic_x=$(((w + 400) / 2)) pic_y=$(((h - 40) / 2))  # right of the list (400 wide), over the picture
  sequence
  rz_close
done
echo "$RZ_NAME: $rounds rounds of pause, full screen twice and a notch over the bar, with and without the list"

#!/usr/bin/env bash
# Habits from other players on habits.kof (make_e2e_films.cpp: "First", 12 s with sound,
# then "Second", 20 s, 400 x 300): Space, the wheel over the bar and the picture, the
# bar's preview (kof's picture reduced, exactly); the double click for full screen is
# stress_test.sh's. Closed after 10 s over a damaged settings file, which is set aside
# and written anew without a box; started again it offers its place and Ctrl+R shows
# kof's picture of it; with /segm 1 it offers nothing.
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"

film="$RZ_FILMS/habits.kof"
first=$(rz_reference_frames "$film" 1)
settings=$RZ_SETTINGS
wheel() { xdotool click --repeat "$2" --delay 80 "$1" && sleep 0.5; }  # 4 up, 5 down
same_label() { rz_volume_label "$RZ_OUT/now.png" && rz_same_image "$RZ_OUT/now.png" "$1"; }

mkdir -p "$(dirname "$settings")"
printf '\001\002 damaged\n' >"$settings"
rz_open "$film"
rz_wait_frame roRezodu 400 300 "$first" 30 >/dev/null

read -r w h <<<"$(rz_client_size)"
bar_y=$((h - 40 + 28))
# Space on the picture (a click gives it the focus) pauses and plays; a notch over the
# bar seeks 5 s (50 frames).
rz_mouse_to $((w / 2)) $(((h - 40) / 2))
xdotool click 1
rz_keys roRezodu space
frame=$(rz_still_frame roRezodu 400 300 "$first")
rz_child_visible Button 110 || rz_fail "Space did not pause"
# (The mouse leaves the bar before each look: its preview covers part of the picture.)
bar_notch() { rz_mouse_to $((210 + 20)) "$bar_y" && wheel "$1" 1 && rz_mouse_to $((w / 2)) 10; }
bar_notch 4
now=$(rz_still_frame roRezodu 400 300 "$first")
[ "$now" = $((frame + 50)) ] || rz_fail "a notch up over the bar went from frame $frame to $now, not 5 s on"
bar_notch 5
now=$(rz_still_frame roRezodu 400 300 "$first")
[ "$now" = "$frame" ] || rz_fail "a notch down over the bar went to frame $now, not back to $frame"
rz_keys roRezodu space
rz_wait_until 5 rz_moving roRezodu 400 300 || rz_fail "Space did not play again"
# With the focus on a panel button Space presses it: Stop, not Pause.
rz_keys roRezodu Tab Tab
[ "$(rz_probe focus roRezodu | cut -f 2,3)" = $'Button\t112' ] || rz_fail "Tab did not reach Stop"
rz_keys roRezodu space
rz_wait_menu_state roRezodu 1.2 enabled,checked 5
rz_keys roRezodu F9
played_from=$SECONDS

# Volume: a press on the slider at 85 %, then three notches up give the label of 100 %,
# and three down that of 85 % again (slider 494..544 of the panel, thumb 16 wide: the
# press at 531 puts the thumb at 29 of 34 pixels, round(29 x 100 / 34) = 85).
rz_volume_label "$RZ_OUT/full.png"
rz_panel_click 531 28
# The label is painted anew once; a busy machine may take a while.
rz_wait_until 10 eval '! same_label "$RZ_OUT/full.png"' || rz_fail "the press on the volume slider changed nothing"
sleep 0.3
rz_volume_label "$RZ_OUT/85.png"
rz_mouse_to $((w / 2)) $(((h - 40) / 2))
wheel 4 3
rz_wait_until 10 same_label "$RZ_OUT/full.png" || rz_fail "three notches up from 85 % do not give 100 %"
wheel 5 3
rz_wait_until 10 same_label "$RZ_OUT/85.png" || rz_fail "three notches down from 100 % do not give 85 %"

# The preview over the middle of the second segment's part: the bar is 196 pixels for
# 32 s from x = 2, so x = 137 is 22.04 s, frame 100 of "Second"; k = 3 gives 133 x 100.
rz_mouse_to $((210 + 130)) "$bar_y"
rz_mouse_to $((210 + 137)) "$bar_y"
"$RZ_KOF" frames "$film" --segment 2 --from 100 --to 100 --out "$RZ_OUT/second" >/dev/null
"$(dirname "$0")/../support/reduce_picture.py" "$RZ_OUT/second/seg002_frame00100.png" "$RZ_OUT/expected.png" 192
preview_is_exact() {
  local line x y
  line=$(rz_note 'Second\n00:00:22') && [ -n "$line" ] || return 1
  IFS=, read -r x y _ <<<"$(rz_field "$line" 4)"
  rz_shot_area roRezodu $((x + 1)) $((y + 1)) 133 100 "$RZ_OUT/preview.png" &&
    rz_same_image "$RZ_OUT/preview.png" "$RZ_OUT/expected.png"
}
rz_wait_until 10 preview_is_exact || rz_fail "no preview of frame 100 of Second over the bar: $(rz_child koNote)"
rz_mouse_to $((w / 2)) $(((h - 40) / 2))
rz_wait_until 3 eval '[ -z "$(rz_note Second)" ]' || rz_fail "the preview stayed after the mouse left the bar"

# Closed after more than 10 s played since F9: over the damaged settings file, without a
# box, the place is kept (the damaged file set aside: SettingsFileWin.ADamagedFileIsMovedAsideAndALaterVersionsIsLeftAlone).
sleep $((played_from + 11 - SECONDS > 0 ? played_from + 11 - SECONDS : 0))
rz_no_boxes
rz_close
read -r segment frame <<<"$(awk '/^place=/ && /habits\.kof$/ { split(substr($0, 7), f, " "); print f[4], f[5]; exit }' "$settings")"
[ -n "$frame" ] || rz_fail "no place remembered: $(cat "$settings")"

# Started again: the offer; Ctrl+R (paused first) shows the frame remembered.
rz_open "$film"
rz_wait_until 10 rz_offered || rz_fail "no offer to resume"
rz_wait_menu_state roRezodu 1.17 enabled 5
rz_keys roRezodu F10 ctrl+r
"$RZ_KOF" frames "$film" --segment $((segment + 1)) --from "$frame" --to "$frame" --out "$RZ_OUT/resumed" >/dev/null
identify -format "$frame %#\n" "$RZ_OUT/resumed"/*.png >"$RZ_OUT/resumed.sig"
rz_still_frame roRezodu 400 300 "$RZ_OUT/resumed.sig" >/dev/null
rz_close

# With /segm 1 the film starts clean: no offer, Resume grayed.
rz_open "$film" /segm 1
rz_wait_frame roRezodu 400 300 "$first" 30 >/dev/null
sleep 1
! rz_offered || rz_fail "an offer to resume with /segm 1"
rz_menu_state_is roRezodu 1.17 grayed || rz_fail "Resume is not grayed with /segm 1: $(rz_menu_state roRezodu 1.17)"
rz_close
echo "$RZ_NAME: volume by wheel, the bar's preview, Space, seeks by wheel, resume"

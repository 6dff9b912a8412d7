#!/usr/bin/env bash
# A film driven with the keys: a paused picture equals pixel for pixel the frame kof
# renders, centred; F9, F10, F11 (check marks; moving, still, gone), F5, F4, F8 (the
# properties box), Alt+Enter there and back (menu bar, context menu, the frame redrawn
# centred); a film larger than the screen maximises the window, reduced to fit. (F7:
# panel_test.sh.)
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"
intro=$(rz_reference_frames "$RZ_FILMS/pictures.kof" 1)
middle=$(rz_reference_frames "$RZ_FILMS/pictures.kof" 2)

rz_open "$RZ_FILMS/pictures.kof"
rz_wait_menu_state roRezodu 1.0 enabled,checked
rz_moving roRezodu 320 240 || rz_fail "the picture does not move while the film plays"

# F10 pauses on a frame of the first segment; F9 goes on, and the next pause is later.
# (Which items are checked in each state: MenuState.ItemsFollowTheStateAndTheContextMenuAgreesWithTheMenuBar.)
rz_pause
first=$(rz_still_frame roRezodu 320 240 "$intro")
rz_keys roRezodu F9
rz_wait_menu_state roRezodu 1.0 enabled,checked
rz_wait_until 10 rz_moving roRezodu 320 240 || rz_fail "the picture does not move after F9"
rz_pause
later=$(rz_still_frame roRezodu 320 240 "$intro")
[ "$later" -gt "$first" ] || rz_fail "after F9 the film paused on frame $later, not after frame $first"

# F5 plays the second segment (322 wide, 24 bits), F4 the first again from its start.
rz_keys roRezodu F5
rz_wait_frame roRezodu 322 240 "$middle" >/dev/null
rz_keys roRezodu F4
rz_wait_frame roRezodu 320 240 "$intro" >/dev/null
rz_pause
restarted=$(rz_still_frame roRezodu 320 240 "$intro")
[ "$restarted" -lt "$later" ] || rz_fail "F4 did not start the first segment again (frame $restarted)"

# Alt+Enter: the paused frame fills the middle of the screen, without a menu bar, and a
# right click, Shift+F10 or the Menu key brings the context menu (its items' states:
# MenuState natively). Alt+Enter again restores all.
rz_keys roRezodu alt+Return
rz_wait_until 10 rz_window_is roRezodu 6 maximised ||
  rz_fail "Alt+Enter did not maximise the window: $(rz_probe window roRezodu)"
[ "$(rz_field "$(rz_probe window roRezodu)" 3)" = "-1,-1,1281,1025" ] ||
  rz_fail "the full-screen window does not cover the screen: $(rz_probe window roRezodu)"
! rz_probe menu roRezodu >/dev/null || rz_fail "the menu bar is still there in full screen"
[ "$(rz_wait_frame roRezodu 320 240 "$intro")" = "$restarted" ] || rz_fail "full screen shows another frame"
rz_click roRezodu 200 200 3
rz_wait_until 10 rz_probe popup >/dev/null || rz_fail "no context menu after a right click"
# Without the menu bar it holds About, Export and the language too.
items=$(rz_probe popup | cut -f 3)
for item in "&О программе" "&Экспорт видео" "&Язык / Language"; do
  grep -q "^$item" <<<"$items" || rz_fail "the context menu has no $item: $items"
done
xdotool key Escape
rz_wait_until 10 eval '! rz_probe popup >/dev/null' || rz_fail "the context menu stays open"
# From the keyboard too: Shift+F10 and the Menu key.
for key in shift+F10 Menu; do
  rz_keys roRezodu "$key"
  rz_wait_until 10 rz_probe popup >/dev/null || rz_fail "no context menu after $key"
  xdotool key Escape
  rz_wait_until 10 eval '! rz_probe popup >/dev/null' || rz_fail "the context menu of $key stays open"
done
rz_keys roRezodu alt+Return
rz_wait_until 10 rz_window_is roRezodu 3 0,0,600,400 ||
  rz_fail "Alt+Enter did not restore the window: $(rz_probe window roRezodu)"
[ "$(rz_menu_state roRezodu 2.0)" = enabled,checked ] || rz_fail "the panel is not on again after full screen"
[ "$(rz_wait_frame roRezodu 320 240 "$intro")" = "$restarted" ] || rz_fail "the window shows another frame"

# F8: the film's properties, headed by the player's own path, with the film's last
# segment (each line's form: FilmProperties.HeaderAndOneLinePerSegment).
program=$(rz_windows_path "$RZ_EXE")
rz_keys roRezodu F8
rz_wait_window "Свойства файла" 10
[[ "$(rz_box "Свойства файла")" == "${program//\\/\\\\}"'\r\rКоличество сегментов: 3\r\r'*'Sound: mp3]:  End\r	OK' ]] ||
  rz_fail "properties box: $(rz_box "Свойства файла")"
rz_dismiss "Свойства файла"

# F11 stops: the picture goes, the client area shows only its background.
rz_keys roRezodu F11
rz_wait_menu_state roRezodu 1.2 enabled,checked
cleared() { rz_shot_picture roRezodu 320 240 "$RZ_OUT/stopped.png" && [ "$(rz_colours "$RZ_OUT/stopped.png")" -eq 1 ]; }
rz_wait_until 10 cleared || rz_fail "the picture stays after F11"
rz_close

# A 1400 x 1000 film: the window is maximised and the picture reduced into the available
# area (one pixel larger than the client area), proportions kept, centred.
"$RZ_KOF" frames "$RZ_FILMS/large.kof" --segment 1 --to 0 --out "$RZ_OUT/large" >/dev/null
rz_open "$RZ_FILMS/large.kof"
rz_wait_until 10 rz_window_is roRezodu 6 maximised ||
  rz_fail "the window was not maximised for a picture larger than the screen: $(rz_probe window roRezodu)"
read -r cx cy aw ah <<<"$(rz_available roRezodu)"
read -r sw sh ox oy <<<"$(awk -v w="$aw" -v h="$ah" 'BEGIN {
  sx = w / 1400; sy = h / 1000; s = sx < sy ? sx : sy
  sw = int(1400 * s + 0.5); sh = int(1000 * s + 0.5)
  print sw, sh, int((w - sw) / 2), int((h - sh) / 2) }')"
vw=$((sw < aw - 1 - ox ? sw : aw - 1 - ox))  # a picture one pixel wider than the client area is cut
convert "$RZ_OUT/large/seg001_frame00000.png" -resize "${sw}x${sh}!" -crop "${vw}x${sh}+0+0" +repage \
  "$RZ_OUT/large-reduced.png"
reduced_like_reference() {
  import -window root -crop "${vw}x${sh}+$((cx + ox))+$((cy + oy))" +repage "$RZ_OUT/large-shown.png"
  awk -v d="$(rz_image_difference "$RZ_OUT/large-shown.png" "$RZ_OUT/large-reduced.png")" 'BEGIN { exit !(d < 0.004) }'
}
rz_wait_until 10 reduced_like_reference || rz_fail "the reduced picture differs from the reference reduced to" \
  "${sw}x${sh} (mean difference $(rz_image_difference "$RZ_OUT/large-shown.png" "$RZ_OUT/large-reduced.png"))"
rz_close
echo "$RZ_NAME: frames $first, $later and $restarted shown exactly; F4 F5 F8 F9 F10 F11, Alt+Enter," \
  "context menu; ${sw}x${sh} reduced picture of a 1400x1000 film"

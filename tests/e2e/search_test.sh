#!/usr/bin/env bash
# Find on screen as a user does it. search.kof carries real text ("Open the Settings
# dialog" in both segments) and its index is made by kof index: Ctrl+F, a word typed,
# Enter pauses on the hit's frame, exactly kof's picture of it, with the word outlined
# for 2 s; F3 and Shift+F3 go to the other hit and back; Escape closes the field; the
# field and its hits are in the Tab round. (What
# the field says without an index, or with one of another version of the film:
# ScreenSearch.SaysWhatIsWrongWithTheIndexOrHowManyHits, on real files.)
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"

film="$RZ_FILMS/search.kof"
"$RZ_KOF" index "$film" >/dev/null || rz_fail "kof index failed"
hits=$("$RZ_KOF" search "$film" settings --json)
# The hits kof finds: segment 1 from 2.0 s and segment 2 from 1.0 s, at 10 frames a second.
[ "$(grep -c '"segment"' <<<"$hits")" = 2 ] || rz_fail "kof search found not two hits: $hits"
box='"box":\[\([0-9]*\),\([0-9]*\),\([0-9]*\),\([0-9]*\)\]'
read -r bx by bw bh <<<"$(sed -n "2s/.*$box.*/\\1 \\2 \\3 \\4/p" <<<"$hits")"
[ -n "$bh" ] || rz_fail "no box in kof search's first hit: $hits"
lists=("" "$(rz_reference_frames "$film" 1)" "$(rz_reference_frames "$film" 2)")
shown() { rz_shown_frame 800 480 "${lists[1]}" "${lists[2]}"; }
shows() { [ "$(shown)" = "$1 $2" ]; }

# The word's outline: pixels of its colour around the hit's box (6 pixels out), and
# none around "File" at the top left.
outline_colour='#FF00A0'
# The picture's place on the screen is read before: the outline's 2 s are too short for
# the probes on a busy machine.
outline_pixels() {  # LEFT TOP WIDTH HEIGHT of the picture
  import -window root -crop "$(($3 + 12))x$(($4 + 12))+$((px + $1 - 6))+$((py + $2 - 6))" +repage "$RZ_OUT/outline.png"
  convert "$RZ_OUT/outline.png" txt:- | grep -ci "$outline_colour" || true
}
status_says() { [[ "$(rz_field "$(rz_child Static 2)" 6)" == $1 ]]; }
status() { rz_field "$(rz_child Static 2)" 6; }

rz_open "$film"
rz_wait_frame roRezodu 800 480 "${lists[1]}" 30 >/dev/null
# (Actions > Find on screen: UiTexts.EveryMenuItemGetsItsKeyAndShortcut,
# MenuState.TheLaterItemsFollowTheFilmThePlayStateAndTheShellsChoices.)
rz_keys roRezodu ctrl+f
rz_wait_until 10 rz_child_visible Edit 1 || rz_fail "Ctrl+F showed no search field"
# The field's label, just before it, which a screen reader takes as its name; its access
# key takes the keyboard to the field.
label=$(rz_field "$(rz_child Static 4)" 6)
[ "$label" = "&Найти на экране:" ] || rz_fail "the field's label reads '$label'"
status_says 'Введите слово*' || rz_fail "the empty field says '$(status)'"
xdotool type --delay 60 settings
rz_wait_until 10 status_says 'Найдено: 2' || rz_fail "typing found not two hits: $(status)"
# The list is named by a label of its own just before it, not by the line of what was found.
rz_probe children roRezodu | awk -F'\t' '$2 == "ListBox" && prev == "Static=Результаты поиска" { found = 1 }
  { prev = $2 "=" $6 } END { exit !found }' || rz_fail "the list of hits is not named: $(rz_probe children roRezodu)"
read -r px py <<<"$(rz_picture_at roRezodu 800 480)"
xdotool key Return
# Within its 2 s the outline shows around the word and nowhere else.
sleep 0.5
around=$(outline_pixels "$bx" "$by" "$bw" "$bh")
rz_keep "$RZ_OUT/outline.png"
elsewhere=$(outline_pixels 12 10 26 12)
rz_screenshot roRezodu "$RZ_OUT/search.png"
rz_keep "$RZ_OUT/search.png"
[ "$around" -ge $((2 * (bw + bh))) ] || rz_fail "the outline shows $around pixels around the word"
[ "$elsewhere" = 0 ] || rz_fail "the outline shows $elsewhere pixels around another word"
rz_child_visible Button 110 || rz_fail "Enter did not pause the film"
# Then it goes; the field still covers the picture's lower left, Escape closes it.
sleep 2
[ "$(outline_pixels "$bx" "$by" "$bw" "$bh")" = 0 ] || rz_fail "the outline stayed after 2 s"
xdotool key Escape
rz_wait_until 10 eval '! rz_child_visible Edit 1' || rz_fail "Escape left the search field open"
rz_wait_until 10 shows 1 20 || rz_fail "Enter should show segment 1, frame 20 (2.0 s); shows $(shown)"
[ "$(rz_still_frame roRezodu 800 480 "${lists[1]}")" = 20 ] || rz_fail "the hit's frame did not stay"

# F3 and Shift+F3, the field closed: the other hit and back, each exactly kof's frame.
rz_keys roRezodu F3
rz_wait_until 10 shows 2 10 || rz_fail "F3 should show segment 2, frame 10 (1.0 s); shows $(shown)"
rz_keys roRezodu shift+F3
rz_wait_until 10 shows 1 20 || rz_fail "Shift+F3 should show segment 1, frame 20; shows $(shown)"
# A click on a line of the list goes there too: the second line.
rz_keys roRezodu ctrl+f
rz_wait_until 10 rz_child_visible Edit 1 || rz_fail "Ctrl+F did not show the field again"
# The field and its hits take their turns in the Tab round, which comes back to the field.
focus_is() {
  local want=$1
  rz_wait_until 3 eval '[ "$(rz_focus)" = "$want" ]'
}
focus_is "Edit 1" || rz_fail "Ctrl+F left the focus on $(rz_focus)"
for step in "Tab ListBox 3" "shift+Tab Edit 1" "shift+Tab picture" "Tab Edit 1"; do
  read -r key want <<<"$step"
  rz_keys roRezodu "$key"
  focus_is "$want" || rz_fail "$key went to $(rz_focus), not to $want"
done
list=$(rz_child ListBox 3)
IFS=, read -r ll lt _ _ <<<"$(rz_field "$list" 4)"
rz_click roRezodu $((ll + 40)) $((lt + 2 + 16 + 8))
xdotool key Escape
rz_wait_until 10 shows 2 10 || rz_fail "a click on the second hit should show segment 2, frame 10; shows $(shown)"
rz_close

#!/usr/bin/env bash
# The player for the keyboard and screen readers, as a user meets it: every panel button
# carries its tooltip's text as its window text (what the system's button proxy names
# it by) in Russian and in English after the language switch; Tab and Shift+Tab go round
# the picture, the panel's controls and the open segment list, which its caption names;
# the keys of the focused bar seek exactly as far as they say (to the frame `kof frames`
# renders there) and leave the focus where it is. The bar's and sliders' own objects, and
# the segment list's close button's (named by words while it shows "X"), reach a screen
# reader's process. (The sliders' keys under Wine:
# AccessibleControls.KeysStepTheFocusedControlsAndTheArrowsStayWithThem; natively:
# SliderKeys; the volume label following the slider: habits_test.sh, panel_test.sh.)
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"
rz_forget_language_at_exit

# button_texts: "ID=TEXT" of the panel's buttons in their order, joined by "|".
button_texts() {
  rz_probe children roRezodu | awk -F'\t' '$2 == "Button" && $3 >= 110 && $3 <= 121 { printf "%s=%s|", $3, $6 }'
}
control_text() { rz_field "$(rz_child "$1")" 6; }
# walk KEY N: the focus after each of N presses of KEY, joined by ",".
walk() { local order="" i; for ((i = 0; i < $2; i++)); do rz_keys roRezodu "$1"; order+="$(rz_focus),"; done; echo "$order"; }
# focus_after WANT KEY...: the keys pressed, the focus then on WANT.
focus_after() {
  local want=$1
  shift
  rz_keys roRezodu "$@"
  rz_wait_until 5 eval '[ "$(rz_focus)" = "$want" ]' || rz_fail "$* left the focus on $(rz_focus), not on $want"
}

rz_open_seek_film

# Names, Russian first, then English at once after the switch (and back: language_test.sh;
# under a film's table: AccessibleTexts.ControlsAreNamedByTheirTooltipsOrTheBuiltInText).
# A screen reader asks from its own process: the objects cross into it (COM in the
# player's window thread) with the names and values the player gives them; the segment
# list's close button, which shows "X", is named by words.
objects() { rz_probe accessible roRezodu | cut -f 1,2 | tr '\t\n' ':,'; }
russian="110=Воспроизведение|111=Пауза|112=Стоп|113=Сегменты|114=Предыдущий|115=Следующий|121=Во весь экран|"
[ "$(button_texts)" = "$russian" ] || rz_fail "the buttons' texts in Russian: $(button_texts)"
[ "$(control_text koProgressBar)" = Прогресс ] || rz_fail "the bar's text: $(control_text koProgressBar)"
[ "$(objects)" = "koProgressBar:Прогресс,koSlider:Скорость воспроизведения,koSlider:Громкость,Button:Закрыть список," ] ||
  rz_fail "the objects a screen reader gets in Russian: $(objects)"
[ "$(rz_field "$(rz_child Button 1)" 6)" = X ] || rz_fail "the segment list's close button shows: $(rz_child Button 1)"
rz_choose_language 2
english="110=Play|111=Pause|112=Stop|113=Segments|114=Previous segment|115=Next segment|121=Full screen|"
rz_wait_until 5 eval '[ "$(button_texts)" = "$english" ]' || rz_fail "the buttons' texts in English: $(button_texts)"
[ "$(control_text koProgressBar)" = Position ] || rz_fail "the bar's text in English: $(control_text koProgressBar)"
[ "$(objects)" = "koProgressBar:Position,koSlider:Playback speed,koSlider:Volume,Button:Close the list," ] ||
  rz_fail "the objects a screen reader gets: $(objects)"
asked=$(rz_probe accessible roRezodu)
grep -q "^koProgressBar	Position	.* of .*, segment 1 of " <<<"$asked" ||
  rz_fail "the bar's value, asked from another process: $asked"

# Tab from the picture: the buttons (Play while paused), bar, speed, volume, the picture.
read -r w h <<<"$(rz_client_size)"
# bar_shot FILE: the progress bar (210, 23, 200 x 10 in the 40 high panel) and a pixel around it.
bar_shot() { rz_shot_area roRezodu 209 $((h - 18)) 202 12 "$1"; }
bar_shot "$RZ_OUT/bar-plain.png"
rz_click roRezodu $((w / 2)) $(((h - 40) / 2))
rz_wait_until 5 eval '[ "$(rz_focus)" = picture ]' || rz_fail "a click on the picture left the focus on $(rz_focus)"
order=$(walk Tab 10)
expected="Button 110,Button 112,Button 113,Button 114,Button 115,Button 121,koProgressBar 0,koSlider 0,koSlider 0,picture,"
[ "$order" = "$expected" ] || rz_fail "Tab order: $order"
# The focused bar shows its focus rectangle, and loses it with the focus.
focus_after "koProgressBar 0" shift+Tab shift+Tab shift+Tab
bar_shot "$RZ_OUT/bar-focused.png"
! rz_same_image "$RZ_OUT/bar-plain.png" "$RZ_OUT/bar-focused.png" || rz_fail "the focused bar shows no focus rectangle"
rz_keys roRezodu Tab Tab Tab
bar_shot "$RZ_OUT/bar-left.png"
rz_same_image "$RZ_OUT/bar-plain.png" "$RZ_OUT/bar-left.png" || rz_fail "the bar kept its focus rectangle"
rz_keep "$RZ_OUT/bar-plain.png" "$RZ_OUT/bar-focused.png"
order=$(walk shift+Tab 3)
[ "$order" = "koSlider 0,koSlider 0,koProgressBar 0," ] || rz_fail "Shift+Tab order from the picture: $order"

# The focused bar: Home, 5 s on twice (across the segments), a minute back, End, 5 s back.
bar_kept_focus() { [ "$(rz_focus)" = "koProgressBar 0" ] || rz_fail "$1 moved the focus off the bar to $(rz_focus)"; }
RZ_AFTER_KEY=bar_kept_focus rz_press_and_expect Home 1 0 Right 1 50 Up 2 40 Next 1 0 End 2 79 Left 2 29 Prior 2 79 Down 2 29
rz_child_visible Button 110 || rz_fail "the bar's keys did not leave the film paused"

# The list open: Tab from it goes to the picture, Shift+Tab back to it and on to the
# volume; Escape still closes it and gives the focus to its button.
focus_after "ListBox 0" F6
# The caption is the label just before the list, which names it.
rz_probe children roRezodu | awk -F'\t' '$2 == "ListBox" && prev == "Static=Segments" { found = 1 }
  { prev = $2 "=" $6 } END { exit !found }' || rz_fail "the segment list is not labelled: $(rz_probe children roRezodu)"
focus_after picture Tab
focus_after "ListBox 0" shift+Tab
focus_after "koSlider 0" shift+Tab
focus_after "Button 113" Tab Escape
rz_close

echo "$RZ_NAME: buttons named in both languages, Tab order, the bar's keys"

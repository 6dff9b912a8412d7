#!/usr/bin/env bash
# The player in English: View > "Язык / Language" > English renames the menus and the
# panel's tooltips at once, and their access keys work; Русский brings every menu text
# back as it was; a restart keeps English, and the /? box is English. (A film's table over English:
# UiTexts.TheChosenLanguageIsTheSetUnderAFilmsTable; the real one: film_executable_test.sh.)
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"
rz_forget_language_at_exit

menu_texts() { rz_probe menu roRezodu | cut -f 1,3; }
# stop_tip: the tooltip of the panel's Stop button (36,8 24 x 24 in the 40 high panel).
# The tip goes again after a few seconds, which a second look on a busy machine may miss:
# the look that finds it is the answer.
stop_tip() {
  local tips="" h
  read -r _ h <<<"$(rz_client_size)"
  rz_mouse_to 200 100
  sleep 0.3
  rz_mouse_to 48 $((h - 20))
  rz_wait_until 5 eval 'tips=$(rz_probe tips) && [ -n "$tips" ]' || true
  printf '%s\n' "$tips"
}

rz_open "$RZ_FILMS/pictures.kof"
russian=$(menu_texts)
language=$(awk -F'\t' '$2 == "&Язык / Language" { print $1 }' <<<"$russian")
[ -n "$language" ] || rz_fail "no Язык / Language item: $russian"
[ "$(stop_tip)" = "Стоп" ] || rz_fail "Stop's tooltip in Russian: $(rz_probe tips)"

# (Every item's English text, its access key and its place: UiTexts natively; here the
# real menus take them.)
rz_choose_language 2
english=$(menu_texts)
for item in "1	&Playback" "$language	Язык / Lang&uage" "$language.1	&English"; do
  grep -qxF "$item" <<<"$english" || rz_fail "no '$item' in the English menus: $english"
done
! grep -v "^$language" <<<"$english" | LC_ALL=C grep -q $'[\xd0\xd1]' || rz_fail "Russian left in: $english"
[ "$(rz_menu_state roRezodu "$language.1")" = "enabled,checked" ] || rz_fail "English is not checked"
[ "$(stop_tip)" = "Stop" ] || rz_fail "Stop's tooltip in English: $(rz_probe tips)"
# The access keys work: Alt+P opens Playback, S stops (once the menu is open: a key that
# comes first is the window's).
rz_keys roRezodu alt+p
rz_wait_until 5 rz_probe popup >/dev/null || rz_fail "Alt+P opened no menu"
rz_keys roRezodu s
rz_wait_menu_state roRezodu 1.2 enabled,checked 5
# So does the label of Find on screen's field: Alt+I takes the keyboard back to the field
# from its hits (its letter leaves the bar's titles theirs: AccessKeys, natively).
rz_keys roRezodu ctrl+f
rz_wait_until 10 rz_child_visible Edit 1 || rz_fail "Ctrl+F showed no search field"
[ "$(rz_field "$(rz_child Static 4)" 6)" = "F&ind on screen:" ] || rz_fail "the field's label: $(rz_child Static 4)"
rz_keys roRezodu Tab
rz_wait_until 5 eval '[ "$(rz_focus)" = "ListBox 3" ]' || rz_fail "Tab left the focus on $(rz_focus)"
rz_keys roRezodu alt+i
rz_wait_until 5 eval '[ "$(rz_focus)" = "Edit 1" ]' || rz_fail "Alt+I left the focus on $(rz_focus)"
rz_keys roRezodu Escape

rz_choose_language 1
rz_wait_until 5 eval '[ "$(menu_texts)" = "$russian" ]' ||
  rz_fail "Русский did not bring the menus back: $(diff <(echo "$russian") <(menu_texts))"
rz_choose_language 2
rz_close
grep -qE '^language=[0-9]+ en$' "$RZ_SETTINGS" || rz_fail "the choice is not in the settings: $(cat "$RZ_SETTINGS")"

# Restarted: English still, the command-line help too (its text in each language:
# CommandLine.HelpListsEveryOption, UiTexts.EveryTextHasAnEnglishOneThatFormatsLikeTheRussian).
rz_start /?
help='roRezodu command-line options'
rz_wait_window "$help"
rz_dismiss "$help"
rz_wait_window roRezodu
[ "$(menu_texts)" = "$english" ] || rz_fail "the restart lost English: $(diff <(echo "$english") <(menu_texts))"
rz_close

echo "$RZ_NAME: English at once in the menus and tooltips, kept over a restart"

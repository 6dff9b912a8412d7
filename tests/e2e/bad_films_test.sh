#!/usr/bin/env bash
# Films that go wrong, each with its own koP_ folder while it plays: a missing film (its
# box; F1 still works), a damaged segment (a warning at loading, an error when reached,
# the next segment plays), a damaged last segment clicked on the bar with /closeonfinish,
# a sound track that cannot be opened, a 16-bit segment (an ownerless box, the window
# minimised). Every player ends with 0. (A later-version segment's warning:
# FilmLoad.LaterVersionsAreSkippedWithOneJoinedWarning; its box is the damaged one's.)
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"

# start_player FILM ARGS...: starts the player on the film (a path in $RZ_FILMS) and waits
# for its window; $folder is then its temporary folder.
start_player() {
  local film=$1
  shift
  rz_open "$RZ_FILMS/$film" "$@"
  folder=$(comm -13 <(printf '%s\n' "$RZ_FOLDERS") <(rz_temp_folders))
  [ "$(printf '%s\n' "$folder" | grep -c .)" -eq 1 ] || rz_fail "$film: new temporary folders: '$folder'"
}

# The missing film's box; the window then still shows help with F1.
missing=$(rz_windows_path "$RZ_FILMS")'\нет такого.kof'
start_player "нет такого.kof"
rz_expect_box "Ошибка" "Не могу открыть файл ${missing//\\/\\\\}"
rz_keys roRezodu F1
rz_wait_window "Справка" 10
rz_dismiss "Справка"
rz_close

# A damaged segment between two good ones.
after=$(rz_reference_frames "$RZ_FILMS/damaged.kof" 3)
start_player damaged.kof
rz_expect_box "Внимание" 'Segment 2: its cabinet'\''s member list is damaged\n'
[ -n "$(find "$(rz_temp_dir)/$folder" -type f)" ] || rz_fail "the damaged film's good segments left nothing in $folder"
rz_expect_box "Ошибка" "Неверный формат файла: its cabinet's member list is damaged"
rz_wait_frame roRezodu 320 240 "$after" >/dev/null
rz_close

# The bar's part of a damaged last segment, clicked with /closeonfinish: no segment can
# start, the film ends and the window goes inside the bar's own click; its error comes
# after it. Wine's full heap check (+heap) catches a control touched after it was freed.
RZ_HEAP_CHECK=+heap start_player closing.kof /closeonfinish
rz_expect_box "Внимание" 'Segment 2: its cabinet'\''s member list is damaged\n'
rz_panel_click $((210 + 150)) 28  # the bar's second half
rz_wait_gone roRezodu
rz_no_heap_lines
rz_expect_box "Ошибка" "Неверный формат файла: its cabinet's member list is damaged"
rz_ended_well 20 "after its film ended"

# A sound track that cannot be opened: its ownerless box comes once the segment plays,
# and a Stop pressed on the panel while it is up stands after it is closed.
start_player noise.kof
rz_wait_window "Error" 20
rz_panel_click $((36 + 12)) 20  # the panel's Stop button
rz_wait_menu_state roRezodu 1.2 enabled,checked
[ "$(rz_field "$(rz_probe window Error)" 4)" = 0x0 ] || rz_fail "the sound's box has an owner"
rz_dismiss Error
sleep 1
rz_menu_state_is roRezodu 1.2 enabled,checked || rz_fail "the film plays again after the sound's box: $(rz_menu_item roRezodu 1.0)"
rz_close

# A colour depth the player cannot show.
start_player depth16.kof
rz_wait_window "Ошибка" 20
[ "$(rz_field "$(rz_probe window "Ошибка")" 4)" = 0x0 ] || rz_fail "the depth box has an owner"
rz_expect_box "Ошибка" "Данный видео режим не поддерживается (16 бит цвет)"
rz_wait_until 10 rz_window_is roRezodu 6 minimised || rz_fail "the window is not minimised: $(rz_probe window roRezodu)"
rz_close

echo "$RZ_NAME: missing, damaged, damaged last, bad sound and 16-bit films; one folder each, all removed"

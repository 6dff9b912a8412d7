#!/usr/bin/env bash
# Films that go wrong, as a user meets them, and the temporary folder each player makes
# and removes. A missing film: "Не могу открыть файл <path>", then the window still works
# (Help > About opens). A damaged segment: its "Внимание" box at loading, its
# "Неверный формат файла" box when the film reaches it, and the segment after it plays.
# A 16-bit segment: "Данный видео режим не поддерживается (16 бит цвет)", owned by no
# window, and the window minimised. A later-version segment: "Сегмент 2 имеет более
# позднюю версию, чем проигрыватель", and the first segment plays. A film whose cabinet
# members are read-only plays. Every player has its own koP_ folder while it runs, ends
# with 0 and leaves no folder behind.
# Usage: bad_films_test.sh roRezodu.exe rz_probe.exe NATIVE_TOOLS_DIR (inside a display).
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$1" "$2"
rz_native_tools "$3"
rz_make_films
folders_before=$(rz_temp_folders)

# start_player FILM ARGS...: starts the player on the film (a path in $RZ_FILMS) and waits
# for its window; $folder is then its temporary folder.
start_player() {
  local film=$1
  shift
  rz_start "$(rz_windows_path "$RZ_FILMS/$film")" "$@"
  rz_wait_window roRezodu
  folder=$(comm -13 <(printf '%s\n' "$folders_before") <(rz_temp_folders))
  [ "$(printf '%s\n' "$folder" | grep -c .)" -eq 1 ] || rz_fail "$film: new temporary folders: '$folder'"
}

# close_player [TITLE]: Alt+F4; the player must end with 0 and remove its folder.
close_player() {
  rz_keys "${1:-roRezodu}" alt+F4
  rz_wait_exit || rz_fail "the player did not end after Alt+F4"
  [ "$RZ_STATUS" -eq 0 ] || rz_fail "the player ended with exit code $RZ_STATUS"
  [ "$(rz_temp_folders)" = "$folders_before" ] || rz_fail "temporary folders left: $(rz_temp_folders)"
}

# expect_box CAPTION TEXT: the box is there with this text and an OK button; OK closes it.
expect_box() {
  rz_wait_window "$1" 20
  [ "$(rz_box "$1")" = "$2	OK" ] || rz_fail "box '$1': $(rz_box "$1"), expected: $2"
  rz_probe click "$1" OK
  rz_wait_gone "$1"
}

# The missing film's box; the window then still opens About from its menu.
missing=$(rz_windows_path "$RZ_FILMS")'\нет такого.kof'
start_player "нет такого.kof"
expect_box "Ошибка" "Не могу открыть файл ${missing//\\/\\\\}"
rz_keys roRezodu alt
rz_keys roRezodu Right Right Right Down Up Return
rz_wait_window "О программе" 10
rz_probe click "О программе" "Закрыть"
rz_wait_gone "О программе"
close_player

# A damaged segment between two good ones.
after=$(rz_reference_frames "$RZ_FILMS/damaged.kof" 3)
start_player damaged.kof
expect_box "Внимание" 'Segment 2: its cabinet'\''s member list is damaged\r\n'
[ -n "$(find "$(rz_temp_dir)/$folder" -type f)" ] || rz_fail "the damaged film's good segments left nothing in $folder"
expect_box "Ошибка" "Неверный формат файла: its cabinet's member list is damaged"
rz_wait_frame roRezodu 320 240 "$after" >/dev/null
close_player

# A colour depth the player cannot show.
start_player depth16.kof
rz_wait_window "Ошибка" 20
[ "$(rz_field "$(rz_probe window "Ошибка")" 4)" = 0x0 ] || rz_fail "the depth box has an owner"
expect_box "Ошибка" "Данный видео режим не поддерживается (16 бит цвет)"
rz_wait_until 10 rz_window_is roRezodu 6 minimised || rz_fail "the window is not minimised: $(rz_probe window roRezodu)"
close_player

# A segment of a later version after a good one.
current=$(rz_reference_frames "$RZ_FILMS/later.kof" 1)
start_player later.kof
expect_box "Внимание" "Сегмент 2 имеет более позднюю версию, чем проигрыватель"
rz_wait_frame roRezodu 320 240 "$current" >/dev/null
close_player

# Read-only members: the extracted data file is read-only while the film plays, and still
# goes with the folder.
readonly_frames=$(rz_reference_frames "$RZ_FILMS/readonly.kof" 1)
start_player readonly.kof
rz_wait_frame roRezodu 320 240 "$readonly_frames" >/dev/null
[ -n "$(find "$(rz_temp_dir)/$folder" -type f ! -perm -u+w)" ] || rz_fail "no read-only file in $folder"
rz_no_boxes
close_player
echo "$RZ_NAME: missing, damaged, 16-bit, later-version and read-only films; one folder each, all removed"

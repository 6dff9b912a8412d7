#!/usr/bin/env bash
# The command line as a user writes it. "/?" shows the help box with its exact text before
# the window; a player started without a film opens films with Ctrl+O (Esc cancels the
# Open dialog, a typed path opens the film and names it in the title) and plays them.
# "/size W H /pos X Y /segm N" places the window and starts segment N of a film whose path
# has Cyrillic letters and spaces, its picture centred in the new client area.
# "/size fullscreen" starts in full screen, and Alt+Enter then gives 0,0 600 x 400 with
# the panel off. Every player ends with 0 and leaves no temporary folder.
# Usage: command_line_test.sh roRezodu.exe rz_probe.exe NATIVE_TOOLS_DIR (inside a display).
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$1" "$2"
rz_native_tools "$3"
rz_make_films
intro=$(rz_reference_frames "$RZ_FILMS/pictures.kof" 1)
last=$(rz_reference_frames "$RZ_FILMS/pictures.kof" 3)
folders_before=$(rz_temp_folders)

close_player() {
  rz_keys roRezodu alt+F4
  rz_wait_exit || rz_fail "the player did not end after Alt+F4 ($1)"
  [ "$RZ_STATUS" -eq 0 ] || rz_fail "the player ended with exit code $RZ_STATUS ($1)"
  [ "$(rz_temp_folders)" = "$folders_before" ] || rz_fail "temporary folders left ($1): $(rz_temp_folders)"
}

# "/?": the help box, owned by no window, comes before the main window.
help_lines=(
  '"FileName.exe" [-size {FULLSCREEN|MAX|MIN|{w h}} [-pos {C|{{L|R|x} {T|B|y}}}]] [-segm N] [-closeonfinish]'
  ''
  'fullscreen - полноэкранный режим без нижней панели управления'
  'max - максимальный размер (занимает весь экран, но при этом остается заголовок окна и нижняя панель)'
  'min - минимальный размер (600 x 400)'
  'w h - Width, Height - ширина, высота проигрывателя'
  ''
  'c - Center - в центре экрана'
  ''
  'L - Left - по левому краю экрана'
  'R - Right - по правому экрана'
  'x - отступить от левого края экрана х пикселей'
  ''
  'T - Top - по верхнему краю экрана'
  'B - Bottom - по нижнему краю экрана'
  'y - отступить от верхнего края экрана y пикселей'
  ''
  'N - Segment Number - начинать воспроизведение с сегмента N'
  ''
  'CloseOnFinish - закрыть проигрыватель по окончании воспроизведения'
)
help_text=$(printf '%s\\r' "${help_lines[@]}")
help_text=${help_text%\\r}
caption="Параметры запуска roRezodu"
rz_start '/?'
rz_wait_window "$caption"
[ "$(rz_box "$caption")" = "$help_text	OK" ] || rz_fail "help box text: $(rz_box "$caption")"
[ "$(rz_field "$(rz_probe window "$caption")" 4)" = 0x0 ] || rz_fail "the help box has an owner"
! rz_probe window roRezodu >/dev/null || rz_fail "the main window came before the help box was closed"
rz_probe click "$caption" OK
rz_wait_window roRezodu
rz_window_is roRezodu 3 0,0,600,400 || rz_fail "window after /?: $(rz_probe window roRezodu)"

# Without a film Load is enabled: Ctrl+O opens the Open dialog, Esc closes it unused.
[ "$(rz_menu_state roRezodu 0.0)" = enabled ] || rz_fail "Load is not enabled in a player without a film"
open_dialog() {
  rz_keys roRezodu ctrl+o
  rz_wait_until 10 open_dialog_shown || rz_fail "Ctrl+O opened no dialog: $(rz_probe windows)"
}
open_dialog_shown() {
  local main
  main=$(rz_field "$(rz_probe window roRezodu)" 1)
  dialog=$(rz_probe windows | awk -F'\t' -v m="$main" '$2 == "#32770" && $4 == m { print $5 }')
  [ -n "$dialog" ]
}
open_dialog
rz_keys "$dialog" Escape
rz_wait_gone "$dialog"
rz_probe window roRezodu >/dev/null || rz_fail "the title changed after the Open dialog was cancelled"

# A typed path opens the film; it waits, stopped, named in the title, and F9 plays it.
film=$(rz_windows_path "$RZ_FILMS/pictures.kof")
open_dialog
rz_keys "$dialog" ctrl+a
xdotool type --delay 15 "$film"
xdotool key Return
title="roRezodu - [$film]"
rz_wait_window "$title" 10
[ "$(rz_menu_state "$title" 1.2)" = enabled,checked ] || rz_fail "an opened film does not wait, stopped"
rz_keys "$title" F9
rz_wait_frame "$title" 320 240 "$intro" >/dev/null
rz_keys "$title" alt+F4
rz_wait_exit || rz_fail "the player did not end after Alt+F4 (opened film)"
[ "$RZ_STATUS" -eq 0 ] || rz_fail "the player ended with exit code $RZ_STATUS (opened film)"

# Size, position and segment, and a path with Cyrillic letters and spaces.
folder="$RZ_OUT/Фильмы и уроки"
mkdir -p "$folder"
cp "$RZ_FILMS/pictures.kof" "$folder/первый урок.kof"
rz_start "$(rz_windows_path "$folder/первый урок.kof")" /size 800 600 /pos 100 50 /segm 3
rz_wait_window roRezodu
rz_window_is roRezodu 3 100,50,900,650 || rz_fail "/size 800 600 /pos 100 50 gave $(rz_probe window roRezodu)"
rz_wait_frame roRezodu 320 240 "$last" >/dev/null
rz_no_boxes
close_player "/size /pos /segm"

# Full screen from the command line; leaving it gives the default window, panel off.
rz_start "$film" -SIZE FullScreen
rz_wait_window roRezodu
rz_wait_until 10 rz_window_is roRezodu 6 maximised || rz_fail "not in full screen: $(rz_probe window roRezodu)"
rz_window_is roRezodu 3 -1,-1,1281,1025 || rz_fail "the full-screen window: $(rz_probe window roRezodu)"
! rz_probe menu roRezodu >/dev/null || rz_fail "a menu bar in full screen"
rz_wait_frame roRezodu 320 240 "$intro" >/dev/null
rz_keys roRezodu alt+Return
rz_wait_until 10 rz_window_is roRezodu 3 0,0,600,400 || rz_fail "after full screen: $(rz_probe window roRezodu)"
[ "$(rz_menu_state roRezodu 2.0)" = enabled ] || rz_fail "the panel is on after a full-screen start"
close_player "/size fullscreen"
echo "$RZ_NAME: /? box, Ctrl+O (Esc, typed path), /size /pos /segm with a Cyrillic path, /size fullscreen"

#!/usr/bin/env bash
# The player as a user starts it: "/?" (its box before the window); without a film, the
# function keys, the About box and Ctrl+O; "/size /pos /segm" with a Cyrillic path;
# "/segm" below 1; "/size fullscreen" and back.
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"
intro=$(rz_reference_frames "$RZ_FILMS/pictures.kof" 1)
last=$(rz_reference_frames "$RZ_FILMS/pictures.kof" 3)

# "/?": the help box, owned by no window, comes before the main window. Its text is a
# constant of the command line's code: its first and last lines, in Russian, and CR
# between its 23 lines show that it arrives whole.
caption="Параметры запуска roRezodu"
about=$RZ_ABOUT
rz_start '/?'
rz_wait_window "$caption"
help=$(rz_box "$caption")
[[ "$help" == '"FileName.exe" [-size {FULLSCREEN|MAX|MIN|{w h}} '*'\r\rSkipIdle - пропускать простои не короче SECONDS секунд (0 - не пропускать)	OK' ]] &&
  [ "$(grep -o '\\r' <<<"$help" | wc -l)" = 22 ] || rz_fail "help box text: $help"
[ "$(rz_field "$(rz_probe window "$caption")" 4)" = 0x0 ] || rz_fail "the help box has an owner"
! rz_probe window roRezodu >/dev/null || rz_fail "the main window came before the help box was closed"
rz_dismiss "$caption"
rz_wait_window roRezodu
rz_window_is roRezodu 3 0,0,600,400 || rz_fail "window after /?: $(rz_probe window roRezodu)"

# (The menu texts, keys and places: UiTexts.TheBuiltInRussianMenusAreTheResourceScripts,
# EveryMenuItemGetsItsKeyAndShortcut.)
# Without a film these keys change nothing a user can see.
rz_keys roRezodu F4 F5 F8 F9 F10 F11
sleep 0.5  # give a wrong reaction the time to show
rz_no_boxes

# Help > About: a dialog owned by the main window, on white.
rz_open_about
main=$(rz_field "$(rz_probe window roRezodu)" 1)
box=$(rz_probe window "$about")
[ "$(rz_field "$box" 2)" = "#32770" ] || rz_fail "the About box is not a dialog: $box"
[ "$(rz_field "$box" 4)" = "$main" ] || rz_fail "the About box is not owned by the main window: $box"
[ "$(rz_probe boxes | cut -f 2,4)" = "$about	&Закрыть|&Лицензии" ] || rz_fail "About box contents: $(rz_probe boxes)"
rz_screenshot "$about" "$RZ_OUT/about1.png"
[ "$(rz_colours "$RZ_OUT/about1.png")" -gt 8 ] || rz_fail "the About box shows almost nothing"
white=$(convert "$RZ_OUT/about1.png" -fill black +opaque white -format '%[fx:mean]' info:)
awk -v w="$white" 'BEGIN { exit !(w > 0.7) }' || rz_fail "the About box is not drawn on white (white share $white)"

# No link to a web address (the one it had led nowhere); its texts: screen_scale_test.sh.
! rz_probe children "$about" | grep -q -e '	Link	' -e 'http' || rz_fail "the About box still has a link"

# Licenses: a box over the About box with the license and the player's libraries as
# NOTICES lists them; OK goes back to the About box.
rz_probe click "$about" "Лицензии"
rz_wait_window "Лицензии" 10
licenses=$(rz_box "Лицензии")
for part in "GNU General Public License" "liblzma 5.4.1 (public domain)" "zlib 1.2.13 (Zlib)" "LICENSE и NOTICES"; do
  [[ $licenses == *"$part"* ]] || rz_fail "the Licenses box lacks '$part': $licenses"
done
[ "$(rz_field "$(rz_probe window "Лицензии")" 4)" = "$(rz_field "$box" 1)" ] || rz_fail "the Licenses box is not owned by the About box"
rz_dismiss "Лицензии"
rz_keys "$about" Escape
rz_wait_gone "$about"

# A second opening looks exactly like the first; Enter closes it, and the Close button.
rz_open_about
rz_screenshot "$about" "$RZ_OUT/about2.png"
rz_same_image "$RZ_OUT/about1.png" "$RZ_OUT/about2.png" || rz_fail "the second About box differs from the first" \
  "(mean difference $(rz_image_difference "$RZ_OUT/about1.png" "$RZ_OUT/about2.png"))"
rz_keys "$about" Return
rz_wait_gone "$about"
rz_open_about
rz_dismiss "$about" "Закрыть"

# Without a film Ctrl+O opens the Open dialog, Esc closes it unused.
rz_open_dialog roRezodu
rz_keys "$RZ_DIALOG" Escape
rz_wait_gone "$RZ_DIALOG"
rz_probe window roRezodu >/dev/null || rz_fail "the title changed after the Open dialog was cancelled"

# A typed path opens the film; it waits, stopped, named in the title, and F9 plays it.
film=$(rz_windows_path "$RZ_FILMS/pictures.kof")
rz_open_typed roRezodu "$film"
title="roRezodu - [$film]"
[ "$(rz_menu_state "$title" 1.2)" = enabled,checked ] || rz_fail "an opened film does not wait, stopped"
rz_keys "$title" F9
rz_wait_frame "$title" 320 240 "$intro" >/dev/null
rz_close "$title"

# Size, position and segment, and a path with Cyrillic letters and spaces.
folder="$RZ_OUT/Фильмы и уроки"
mkdir -p "$folder"
cp "$RZ_FILMS/pictures.kof" "$folder/первый урок.kof"
rz_open "$folder/первый урок.kof" /size 800 600 /pos 100 50 /segm 3
rz_window_is roRezodu 3 100,50,900,650 || rz_fail "/size 800 600 /pos 100 50 gave $(rz_probe window roRezodu)"
rz_wait_frame roRezodu 320 240 "$last" >/dev/null
rz_no_boxes
rz_close

# A segment number below 1 starts nothing, the smallest too: the film waits, stopped.
# (A start past the last segment would end the film, and /closeonfinish the player.)
rz_open "$RZ_FILMS/pictures.kof" /segm -2147483648 /closeonfinish
sleep 1
[ "$(rz_menu_state roRezodu 1.2)" = enabled,checked ] || rz_fail "/segm -2147483648 did not leave the film stopped"
rz_close

# Full screen from the command line; leaving it (Escape) gives the default window, panel off.
rz_open "$RZ_FILMS/pictures.kof" -SIZE FullScreen
rz_wait_until 10 rz_window_is roRezodu 6 maximised || rz_fail "not in full screen: $(rz_probe window roRezodu)"
rz_window_is roRezodu 3 -1,-1,1281,1025 || rz_fail "the full-screen window: $(rz_probe window roRezodu)"
rz_keys roRezodu Escape
rz_wait_until 10 rz_window_is roRezodu 3 0,0,600,400 || rz_fail "after full screen: $(rz_probe window roRezodu)"
[ "$(rz_menu_state roRezodu 2.0)" = enabled ] || rz_fail "the panel is on after a full-screen start"
rz_close
echo "$RZ_NAME: /? box, About box, Ctrl+O (Esc, typed path), /size /pos /segm, /segm -2^31, /size fullscreen"

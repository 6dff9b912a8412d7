#!/usr/bin/env bash
# The menu bar as a user reads it, harmless function keys without a film, the About box
# opened from Help with the keyboard, its link, closing it with Esc, Enter and its Close
# button, and a clean end with Alt+F4: exit code 0 and no temporary folder left behind.
# Usage: menu_about_test.sh roRezodu.exe rz_probe.exe (inside a display, e.g. xvfb-run).
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$1" "$2"
about="О программе"

folders_before=$(rz_temp_folders)
rz_start
rz_wait_window roRezodu

# Positions and texts of the menu bar and its drop-downs ("\b" right-aligns the keys).
expected_menu='0	Файл
0.0	Загрузить\bCtrl+O
0.1	Свойства...\bF8
0.2	
0.3	Выход\bAlt+F4
1	Действия
1.0	Воспроизведение\bF9
1.1	Пауза\bF10
1.2	Стоп\bF11
1.3	
1.4	Сегменты\bF6
1.5	Предыдущий\bF4
1.6	Следующий\bF5
1.7	
1.8	Назад на 5 секунд\bAlt+Left
1.9	Вперёд на 5 секунд\bAlt+Right
1.10	Предыдущий кадр\bCtrl+,
1.11	Следующий кадр\bCtrl+.
1.12	Начало сегмента\bAlt+Home
1.13	Конец сегмента\bAlt+End
1.14	
1.15	Сохранить кадр...\bCtrl+S
2	Вид
2.0	Панель управления\bF7
2.1	Во весь экран\bAlt+Enter
3	Справка
3.0	Справка\bF1
3.1	
3.2	О программе...'
menu=$(rz_probe menu roRezodu) || rz_fail "the probe read no menu bar"
diff <(printf '%s\n' "$expected_menu") <(printf '%s\n' "$menu" | cut -f 1,3) >&2 || rz_fail "menu texts differ (above)"

# Without a film these keys change nothing a user can see.
rz_keys roRezodu F4 F5 F8 F9 F10 F11
sleep 0.5  # give a wrong reaction the time to show
! rz_probe boxes >/dev/null || rz_fail "a function key opened a box: $(rz_probe boxes)"
rz_probe window roRezodu >/dev/null || rz_fail "the main window is gone after the function keys"

# Help > About: Alt selects Файл, three steps right reach Справка, Down opens it and Up
# wraps round to its last item.
open_about() {
  rz_keys roRezodu alt
  rz_keys roRezodu Right Right Right Down Up Return
  rz_wait_window "$about" 10
}

open_about
main=$(rz_field "$(rz_probe window roRezodu)" 1)
box=$(rz_probe window "$about")
[ "$(rz_field "$box" 2)" = "#32770" ] || rz_fail "the About box is not a dialog: $box"
[ "$(rz_field "$box" 4)" = "$main" ] || rz_fail "the About box is not owned by the main window: $box"
[ "$(rz_probe boxes | cut -f 2,4)" = "$about	Закрыть" ] || rz_fail "About box contents: $(rz_probe boxes)"
sleep 0.3  # the box paints itself after it is shown
rz_screenshot "$about" "$RZ_OUT/about1.png"
[ "$(rz_colours "$RZ_OUT/about1.png")" -gt 8 ] || rz_fail "the About box shows almost nothing"
white=$(convert "$RZ_OUT/about1.png" -fill black +opaque white -format '%[fx:mean]' info:)
awk -v w="$white" 'BEGIN { exit !(w > 0.7) }' || rz_fail "the About box is not drawn on white (white share $white)"

# The link (at W / 8, 165, 16 high) opens the maker's web address and leaves the box open.
rz_record_browser "$RZ_OUT/opened.txt"
width=$(rz_field "$(rz_probe client "$about")" 3)
rz_click "$about" $((width / 8 + 20)) 172
rz_wait_until 10 grep -qx 'https://rorezodu.example.org/' "$RZ_OUT/opened.txt" 2>/dev/null ||
  rz_fail "the link opened no web address ($(cat "$RZ_OUT/opened.txt" 2>/dev/null))"
rz_probe window "$about" >/dev/null || rz_fail "the About box closed when the link was clicked"
rz_keys "$about" Escape
rz_wait_gone "$about"

# A second opening looks exactly like the first; Enter closes it.
open_about
sleep 0.3
rz_screenshot "$about" "$RZ_OUT/about2.png"
rz_same_image "$RZ_OUT/about1.png" "$RZ_OUT/about2.png" || rz_fail "the second About box differs from the first" \
  "(mean difference $(rz_image_difference "$RZ_OUT/about1.png" "$RZ_OUT/about2.png"))"
rz_keys "$about" Return
rz_wait_gone "$about"

# The Close button closes it as well, and the player goes on.
open_about
rz_probe click "$about" "Закрыть"
rz_wait_gone "$about"

rz_keys roRezodu alt+F4
rz_wait_exit || rz_fail "the program did not end after Alt+F4"
[ "$RZ_STATUS" -eq 0 ] || rz_fail "the program ended with exit code $RZ_STATUS"
[ "$(rz_temp_folders)" = "$folders_before" ] || rz_fail "temporary folders left: $(rz_temp_folders)"
echo "$RZ_NAME: menu texts, function keys, About box (link, Esc, Enter, Close) and exit code 0"

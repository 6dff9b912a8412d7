#!/usr/bin/env bash
# A film executable made by kof pack plays its own film with its language table's texts
# (a key the table lacks leaves the built-in item; keys match whatever their case), Load
# grayed; the plain player plays the film inside it with its own texts.
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"
intro=$(rz_reference_frames "$RZ_FILMS/pictures.kof" 1)
player=$RZ_EXE

printf '%s\r\n' "File=Movie" "Actions=Controls" "View=Show" "Help=Guide" "ContextHelp=Contents" "About=About it" \
  "Play=Start" "error=Trouble" >"$RZ_OUT/language.txt"
lesson="$RZ_OUT/lesson.exe"
"$RZ_KOF" pack "$RZ_FILMS/pictures.kof" --player "$player" --language "$RZ_OUT/language.txt" -o "$lesson" >/dev/null ||
  rz_fail "kof pack failed"

# Its own film, its own texts.
RZ_EXE=$lesson
rz_start
rz_wait_window roRezodu
rz_wait_frame roRezodu 320 240 "$intro" >/dev/null
# Which text each item takes under a table is held natively
# (UiTexts.TheChosenLanguageIsTheSetUnderAFilmsTable); here the real menus take it, and
# a film executable grays Load and Export.
menu=$(rz_probe menu roRezodu | awk -F'\t' '$1 ~ /^[0-3]$/ { print $1 "\t" $3; next } { print }')
for item in "0	Movie" "1	Controls" "0.0	grayed	&Загрузить\bCtrl+O" "0.2	grayed	&Экспорт видео...\bCtrl+E" \
  "1.0	enabled,checked	Start\bF9" "1.1	enabled	&Пауза\bF10" "3.0	enabled	Contents\bF1" "3.2	enabled	About it"; do
  grep -qxF "$item" <<<"$menu" || rz_fail "no '$item' in the film executable's menus: $menu"
done
rz_keys roRezodu F1
rz_expect_box Guide 'Справочная информация о roRezodu\rнаходится в файле README.txt,\rкоторый поставляется с программой.' 10
rz_close

# A film named on its command line that cannot be opened: the table's caption.
missing=$(rz_windows_path "$RZ_OUT")'\missing.kof'
rz_start "$missing"
rz_expect_box Trouble "Не могу открыть файл ${missing//\\/\\\\}" 30
rz_close

# The plain player plays the film inside the film executable, with its own texts.
RZ_EXE=$player
rz_open "$lesson"
rz_wait_frame roRezodu 320 240 "$intro" >/dev/null
[ "$(rz_menu_item roRezodu 0 | cut -f 2)" = "&Файл" ] || rz_fail "the film's table changed the plain player's menu"
rz_close
echo "$RZ_NAME: kof pack's film executable plays its film with its table's texts; the plain player plays it too"

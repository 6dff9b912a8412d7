#!/usr/bin/env bash
# Skipping idle stretches as a user sees it. idle.kof (make_e2e_films.cpp): 12 s, idle
# from 2 s to 10 s under a silent MP3.
# The bar shows the activity strip; /skipidle 3 checks View's item, Ctrl+I turns it off
# and on again, remembered, and played the film skips the stretch, told in a note
# raised as an alert. (Where a skip lands and which stretches are skipped:
# IdleSkip natively; the choice from the command line and the settings: IdleSkipChoice;
# lengths outside 0 .. 3600: CommandLine.ParsesOptionsAndAppliesTheLimits.)
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"

film="$RZ_FILMS/idle.kof"
settings=$RZ_SETTINGS
rm -f "$settings"

# The strip: the bar of a stopped film shows its activity once that is measured, 0.3 s
# after the film opens. Without the strip the bar is one flat colour; with it the active
# stretches are dark and the idle ones dotted. (A picture taken as the window shows is no
# bar without the strip: on a busy machine the strip is drawn before X shows the window.)
rz_open "$film" /segm 0 /skipidle 3
bar=$(rz_child koProgressBar) || rz_fail "no progress bar"
IFS=, read -r left top right bottom <<<"$(rz_field "$bar" 4)"
has_strip() {
  rz_screenshot roRezodu "$RZ_OUT/window.png"
  convert "$RZ_OUT/window.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$RZ_OUT/strip.png"
  [ "$(rz_colours "$RZ_OUT/strip.png")" -gt 1 ]
}
rz_wait_until 20 has_strip || rz_fail "the bar shows no activity strip"
rz_keep "$RZ_OUT/window.png" "$RZ_OUT/strip.png"

# /skipidle 3 checks the item in View; Ctrl+I unchecks it, and again checks it, remembered.
rz_menu_state_is roRezodu 2.7 enabled,checked || rz_fail "/skipidle 3 left Skip idle stretches $(rz_menu_state roRezodu 2.7)"
rz_keys roRezodu ctrl+i
rz_wait_menu_state roRezodu 2.7 enabled || rz_fail "Ctrl+I left Skip idle stretches $(rz_menu_state roRezodu 2.7)"
rz_keys roRezodu ctrl+i
rz_wait_menu_state roRezodu 2.7 enabled,checked || rz_fail "Ctrl+I left Skip idle stretches $(rz_menu_state roRezodu 2.7)"
grep -qE '^skipidle=[0-9]+ 3$' "$settings" || rz_fail "the settings file does not keep skipping: $(cat "$settings")"
# Played now, the stretch is skipped, and a note above the panel says how much,
# raised as an alert, which a screen reader speaks.
wine "$RZ_PROBE" alert 20 >"$RZ_OUT/alert.txt" 2>/dev/null &
listener=$!
rz_wait_until 10 grep -q watching "$RZ_OUT/alert.txt" || rz_fail "nothing listens for alerts"
rz_keys roRezodu F9
note_says() { [ "$(rz_field "$(rz_child koNote)" 5,6)" = "1	$1" ]; }
rz_wait_until 10 note_says "Пропущено 00:00:07" || rz_fail "no note of the skip: $(rz_child koNote)"
wait "$listener" || true
grep -qx "koNote	Пропущено 00:00:07" "$RZ_OUT/alert.txt" || rz_fail "the note was no alert: $(cat "$RZ_OUT/alert.txt")"
rz_close
echo "$RZ_NAME: the strip shows; /skipidle 3 and Ctrl+I check the item, remembered; the stretch skipped, told"

#!/usr/bin/env bash
# Skipping idle stretches as a user sees it. idle.kof (make_e2e_films.cpp): 20 s with
# idle stretches at 2-10 s, 12-14 s and 16-20 s under a silent MP3, then 6 s that move.
# With /skipidle 3 the film jumps to 0.5 s before the end of the two stretches of at
# least 3 s, showing kof's frame there, and ends 11.2 s sooner; the bar shows the
# activity strip; Ctrl+I turns skipping on, checked, remembered and told in a note.
# (Lengths outside 0 .. 3600: CommandLine.ParsesOptionsAndAppliesTheLimits.)
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"

film="$RZ_FILMS/idle.kof"
first=$(rz_reference_frames "$film" 1)
second=$(rz_reference_frames "$film" 2)
settings=$RZ_SETTINGS
rm -f "$settings"
signature() { awk -v f="$1" '$1 == f { print $2 }' "$first"; }
now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
near() { awk -v v="$1" -v e="$2" -v t="$3" 'BEGIN { exit !(v >= e - t && v <= e + t) }'; }

# play ARGS...: plays the film with /closeonfinish and ARGS and sets, in seconds from the
# first picture: moved (the first frame after the first stretch, 100, is shown), second
# (the second segment shows) and ended (the player ended); landed1 and landed2: the
# signatures of the pictures shown between the stretches' starts and their ends.
play() {
  local t0 t shot="$RZ_OUT/play.png" frame x y
  rz_open "$film" /closeonfinish "$@"
  rz_wait_frame roRezodu 160 120 "$first" 30 >/dev/null
  t0=$(now)
  read -r x y <<<"$(rz_picture_at roRezodu 160 120)"
  moved="" second_at="" landed1="" landed2=""
  while ! rz_ended; do
    import -window root -crop "160x120+$x+$y" +repage "$shot" 2>/dev/null || continue
    t=$(now)
    if frame=$(rz_frame_in "$shot" "$first"); then
      [ "$frame" -lt 20 ] || [ "$frame" -ge 100 ] || landed1=$(identify -format '%#' "$shot")
      [ "$frame" -lt 160 ] || landed2=$(identify -format '%#' "$shot")
      [ -n "$moved" ] || [ "$frame" -lt 100 ] || moved=$(elapsed "$t0" "$t")
    elif [ -z "$second_at" ] && rz_frame_in "$shot" "$second" >/dev/null; then
      second_at=$(elapsed "$t0" "$t")
    fi
  done
  ended=$(elapsed "$t0" "$(now)")
  rz_wait_exit 10 || rz_fail "the player did not end"
  [ "$RZ_STATUS" -eq 0 ] || rz_fail "the player ended with $RZ_STATUS"
  [ -n "$moved" ] && [ -n "$second_at" ] || rz_fail "frame 100 ($moved) or the second segment ($second_at) never showed"
}

play /skipidle 0
full="$moved $second_at $ended"
near "$moved" 10 2 && near "$second_at" 20 2 && near "$ended" 26 2.6 ||
  rz_fail "with skipping off frame 100, the second segment and the end came at $full s, not 10, 20, 26"

play /skipidle 3
skipped="$moved $second_at $ended"
read -r full_moved full_second full_ended <<<"$full"
# Against the full run, so Wine's start and end count alike: 7.6 s and then 11.2 s sooner
# (each stretch is left at the step onto its first frame, 0.1 s before that frame's
# end). Within 2 s: the screen is looked at every second or so on a busy machine, in
# either run. That still tells skipping (7.6 s) from playing (0 s) and from skipping
# twice; the frames it goes on from are checked exactly below, the jump in the unit tests.
near "$(elapsed "$moved" "$full_moved")" 7.6 2 && near "$(elapsed "$second_at" "$full_second")" 11.2 2 &&
  near "$(elapsed "$ended" "$full_ended")" 11.2 2 ||
  rz_fail "skipping 3 s stretches: frame 100, the second segment and the end at $skipped s, with all played $full s"
[ "$landed1" = "$(signature 95)" ] && [ "$landed2" = "$(signature 195)" ] ||
  rz_fail "the pictures after the skips are not kof's frames 95 and 195"

# The strip: the bar of a stopped film shows its activity once that is measured, 0.3 s
# after the film opens. Without the strip the bar is one flat colour; with it the active
# stretches are dark and the idle ones dotted. (A picture taken as the window shows is no
# bar without the strip: on a busy machine the strip is drawn before X shows the window.)
rz_open "$film" /segm 0 /skipidle 0
bar=$(rz_child koProgressBar) || rz_fail "no progress bar"
IFS=, read -r left top right bottom <<<"$(rz_field "$bar" 4)"
has_strip() {
  rz_screenshot roRezodu "$RZ_OUT/window.png"
  convert "$RZ_OUT/window.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$RZ_OUT/strip.png"
  [ "$(rz_colours "$RZ_OUT/strip.png")" -gt 1 ]
}
rz_wait_until 20 has_strip || rz_fail "the bar shows no activity strip"
rz_keep "$RZ_OUT/window.png" "$RZ_OUT/strip.png"

# Ctrl+I: checked in View, remembered.
rz_menu_state_is roRezodu 2.7 enabled || rz_fail "Skip idle stretches: $(rz_menu_state roRezodu 2.7), not unchecked"
rz_keys roRezodu ctrl+i
rz_wait_menu_state roRezodu 2.7 enabled,checked || rz_fail "Ctrl+I left Skip idle stretches $(rz_menu_state roRezodu 2.7)"
grep -qE '^skipidle=[0-9]+ 3$' "$settings" || rz_fail "the settings file does not keep skipping: $(cat "$settings")"
# Played now, the first stretch is skipped, and a note above the panel says how much,
# raised as an alert, which a screen reader speaks.
wine "$RZ_PROBE" alert 20 >"$RZ_OUT/alert.txt" &
listener=$!
rz_wait_until 10 grep -q watching "$RZ_OUT/alert.txt" || rz_fail "nothing listens for alerts"
rz_keys roRezodu F9
note_says() { [ "$(rz_field "$(rz_child koNote)" 5,6)" = "1	$1" ]; }
rz_wait_until 10 note_says "Пропущено 00:00:07" || rz_fail "no note of the skip: $(rz_child koNote)"
wait "$listener" || true
grep -qx "koNote	Пропущено 00:00:07" "$RZ_OUT/alert.txt" || rz_fail "the note was no alert: $(cat "$RZ_OUT/alert.txt")"
rz_close
echo "$RZ_NAME: with skipping off at $full s (frame 100, second segment, end), with /skipidle 3 at $skipped s;" \
  "the skips land on kof's frames 95 and 195; the strip shows; Ctrl+I checks the item and is remembered"

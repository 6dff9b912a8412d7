#!/usr/bin/env bash
# The player on screens at 100 %, 150 % and 200 % (LogPixels 96, 144, 192; 96 again at
# the end): the panel, the Play button's picture, the speed slider's thumb and the time
# line's last digit (Tahoma Bold at 13 pixels cut it off under Wine) as drawn at the
# scale; the About box's real texts apart and inside it; at 200 %, also after a window
# is told that its screen moved there, the picture x2 and 1:1, the preview and the
# segment list framed 2 pixels wide; Ctrl+2 chooses Fit window.
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"
set_dpi() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
trap 'set_dpi 96; rz_cleanup' EXIT
intro=$(rz_reference_frames "$RZ_FILMS/pictures.kof" 1)
bitmaps="$(dirname "$RZ_EXE")/bitmaps"  # the pictures the build drew

# px N: a length of the design at the screen's scale, rounded as the player rounds.
px() { echo $((($1 * dpi + 48) / 96)); }

# scaled_frames LIST FACTOR: a signature list of the reference frames enlarged FACTOR
# times, every pixel repeated.
scaled_frames() {
  local dir="${1%.sig}" out="${1%.sig}-x$2"
  mkdir -p "$out"
  for frame in "$dir"/*.png; do convert "$frame" -sample "$((100 * $2))%" "$out/$(basename "$frame")"; done
  identify -format '%f %#\n' "$out"/*.png | sed 's/^seg[0-9]*_frame0*\([0-9]\)/\1/; s/\.png / /' >"$out.sig"
  printf '%s\n' "$out.sig"
}

# The panel of a paused player: its height, the Play button and its picture, the speed
# slider and its thumb (value 3 of 0 .. 8, at round((width - thumb) x 3 / 8) halves to even), the time line.
check_panel() {
  local panel_top panel_bottom w slider_left slider_top thumb size x y right ink
  read -r _ panel_top w panel_bottom <<<"$(rz_child_box koBottomPanel 0)"
  [ $((panel_bottom - panel_top)) = "$(px 40)" ] ||
    rz_fail "at $dpi DPI the panel is $((panel_bottom - panel_top)) high"
  # (Where the buttons and sliders lie: PanelLayout.EveryLengthFollowsTheScreensScale.)
  read -r slider_left slider_top _ <<<"$(rz_child_box koSlider 0)"
  rz_screenshot roRezodu "$RZ_OUT/panel.png"
  # The Play button shows the picture drawn for this scale, pixel for pixel, in its square.
  read -r x y right _ <<<"$(rz_child_box Button 110)"
  convert "$RZ_OUT/panel.png" -crop "$((right - x))x$((right - x))+$x+$y" +repage "$RZ_OUT/play.png"
  local picture="$bitmaps/play.bmp"
  [ "$dpi" = 96 ] || picture="$bitmaps/play_$((dpi * 100 / 96)).bmp"
  [ "$(compare -metric AE -subimage-search "$RZ_OUT/play.png" "$picture" null: 2>&1 | cut -d' ' -f1)" = 0 ] ||
    rz_fail "at $dpi DPI the Play button does not show $(basename "$picture")"
  size=$(px 16)
  thumb=$(awk -v r="$(($(px 70) - size))" 'BEGIN { v = r * 3 / 8; e = int(v + 0.5); if (e - v == 0.5 && e % 2) e--
                                                  print e }')
  # The thumb's outline at its left and right edges, the track's white beside them.
  x=$((slider_left + thumb)) y=$((slider_top + $(px 10)))
  for check in "$((x - 1)) ffffff" "$x 9098a8" "$((x + size - 1)) 9098a8" "$((x + size)) ffffff"; do
    set -- $check
    [ "$(rz_pixel "$RZ_OUT/panel.png" "$1" "$y")" = "$2" ] || rz_fail "at $dpi DPI no thumb at $x: pixel $1,$y is not $2"
  done
  # The time line ends inside its rectangle (right edge w - 2, exclusive): a last digit
  # cut off there has its white up to the rectangle's last column.
  right=$((w - $(px 2)))
  ink=$(convert "$RZ_OUT/panel.png" -crop "$(px 171)x$(px 15)+$((w - $(px 171)))+$((panel_top + $(px 1)))" +repage \
    -fill black +opaque white -trim -format '%[fx:page.x + w - 1]' info:)
  [ "$((w - $(px 171) + ink))" -lt "$((right - 1))" ] ||
    rz_fail "at $dpi DPI the time line's last white column is $((w - $(px 171) + ink)), its rectangle ends at $right"
}

about=$RZ_ABOUT
# The About box: its four texts (windows of their own) and the Close button lie inside
# the box and apart; the notice shows its three lines (three times the author line's
# height, in the same font).
check_about() {
  local w h parts
  rz_open_about
  rz_client "$about"
  w=$RZ_W h=$RZ_H
  rz_screenshot "$about" "$RZ_OUT/about-$dpi.png"
  rz_keep "$RZ_OUT/about-$dpi.png"
  parts=$(rz_probe children "$about" | awk -F'\t' '$2 == "Static" || $2 == "Button" { print $4 "\t" $6 }')
  [ "$(printf '%s\n' "$parts" | cut -f 2 | head -n 4)" = "&Закрыть
roRezodu
version 2.8.0.24
© 2026 roRezodu developers" ] || rz_fail "at $dpi DPI the About box holds: $parts"
  printf '%s\n' "$parts" | awk -F'\t' -v w="$w" -v h="$h" '
    { split($1, r, ","); l[NR] = r[1]; t[NR] = r[2]; rt[NR] = r[3]; b[NR] = r[4]; name[NR] = $2
      if (r[1] < 0 || r[2] < 0 || r[3] > w || r[4] > h) { print name[NR] " lies outside the box"; bad = 1 } }
    END { for (i = 1; i <= NR; i++) for (j = i + 1; j <= NR; j++)
            if (l[i] < rt[j] && l[j] < rt[i] && t[i] < b[j] && t[j] < b[i]) { print name[i] " overlaps " name[j]; bad = 1 }
          if (b[5] - t[5] < 3 * (b[4] - t[4])) { print "the notice is cut off"; bad = 1 }
          exit bad }' >"$RZ_OUT/about-faults" ||
    rz_fail "at $dpi DPI, in a $w x $h About box: $(cat "$RZ_OUT/about-faults"); its parts: $parts"
  rz_keys "$about" Escape
  rz_wait_gone "$about"
}

# The visible note (koNote) of the bar's preview: "LEFT TOP RIGHT BOTTOM" in the main
# window's client area, once it shows a picture over the bar at x (design pixels).
preview_at() {
  local top
  read -r _ top _ <<<"$(rz_child_box koBottomPanel 0)"
  rz_mouse_to "$(px "$1")" $((top + $(px 28)))
  rz_wait_until 10 rz_child_visible koNote || rz_fail "at $dpi DPI no preview over the bar"
  sleep 0.5  # its picture arrives after it shows
  rz_field "$(rz_child koNote)" 4 | tr , ' '
}
# shot_preview FILE: the preview over the bar at 100 (design pixels), photographed.
shot_preview() {
  local l t r b
  read -r l t r b <<<"$(preview_at 310)"
  rz_shot_area roRezodu "$l" "$t" $((r - l)) $((b - t)) "$1"
  xdotool mousemove 0 0
}
# frame_is FILE WIDTH WHAT: the picture's outermost WIDTH columns on the left and rows
# at the top, halfway along, are the strip's colour, and the next ones are not.
frame_is() {
  local w h i
  read -r w h <<<"$(identify -format '%w %h' "$1")"
  for ((i = 0; i < $2; i++)); do
    [ "$(rz_pixel "$1" "$i" $((h / 2)))" = 9098a8 ] && [ "$(rz_pixel "$1" $((w / 2)) "$i")" = 9098a8 ] ||
      rz_fail "at $dpi DPI $3 has no frame $2 pixels wide"
  done
  [ "$(rz_pixel "$1" "$2" $((h / 2)))" != 9098a8 ] || rz_fail "at $dpi DPI $3 has a frame wider than $2 pixels"
}

for dpi in 96 144 192; do
  moved=""
  set_dpi "$dpi"
  RZ_PANEL_HEIGHT=$(px 40)
  rz_open "$RZ_FILMS/pictures.kof"
  rz_wait_menu_state roRezodu 1.0 enabled,checked
  rz_pause
  check_panel
  check_about
  if [ "$dpi" = 96 ]; then
    # The window reaches a screen at 200 % after its preview was made: it takes the
    # rectangle the system suggests, twice its size, and the panel, its pictures and the
    # preview follow; the picture is checked below as at 192 DPI.
    preview_at 310 >/dev/null
    xdotool mousemove 0 0
    read -r left top _ <<<"$(rz_field "$(rz_probe window roRezodu)" 3 | tr , ' ')"
    [ "$(rz_probe dpi roRezodu 192)" = "$left,$top,$((left + 1200)),$((top + 800))" ] ||
      rz_fail "after WM_DPICHANGED the window is at $(rz_probe window roRezodu)"
    dpi=192 RZ_PANEL_HEIGHT=80 moved=yes
    check_panel
  fi
  if [ "$dpi" = 192 ]; then
    frame=$(rz_still_frame roRezodu 640 480 "$(scaled_frames "$intro" 2)")
    rz_keys roRezodu ctrl+1
    rz_wait_menu_state roRezodu 2.4 enabled,checked
    [ "$(rz_still_frame roRezodu 320 240 "$intro")" = "$frame" ] || rz_fail "original pixels show another frame"
    # The preview of the window moved here is the one of the window that opened here.
    if [ "$moved" ]; then
      shot_preview "$RZ_OUT/preview-moved.png"
      frame_is "$RZ_OUT/preview-moved.png" 2 "the preview of the window moved there"
    else
      shot_preview "$RZ_OUT/preview.png"
      rz_keep "$RZ_OUT/preview.png" "$RZ_OUT/preview-moved.png"
      frame_is "$RZ_OUT/preview.png" 2 "the preview"
      rz_same_image "$RZ_OUT/preview.png" "$RZ_OUT/preview-moved.png" ||
        rz_fail "the preview of the window moved to 200 % differs from the one that opened there"
    fi
    # The segment list's frame.
    rz_open_list
    read -r x y right bottom <<<"$(rz_child_box koSegmentList 0)"
    rz_shot_area roRezodu "$x" "$y" $((right - x)) $((bottom - y)) "$RZ_OUT/list.png"
    rz_keep "$RZ_OUT/list.png"
    frame_is "$RZ_OUT/list.png" 2 "the segment list${moved:+ of the window moved there}"
  fi
  rz_close
done

# Ctrl+2 chooses Fit window. (How large and where a fitted picture is:
# ScreenScale.ThePictureAtEachZoom natively; a picture scaled into the real window:
# the x2 picture above, playback_test.sh's reduced one.)
rz_open "$RZ_FILMS/seek.kof"
rz_keys roRezodu ctrl+2
rz_wait_menu_state roRezodu 2.5 enabled,checked
rz_close
echo "$RZ_NAME: panel, Play, thumb, time line and About box at 100, 150 and 200 %; the picture x2 and 1:1;" \
  "the preview and the segment list framed at 200 %"

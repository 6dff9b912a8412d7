# Shared by the tests of the bottom panel and the segment list; source it after lib.sh
# and call rz_panel_init with the film maker (rz_make_film.exe).
#
# Films come from rz_make_film (see make_film.cpp): every picture is one colour that
# tells its segment and frame, so a screenshot says what the player shows.

rz_panel_init() { RZ_MAKE_FILM="$1"; }

# rz_film FILE SEGMENT...: writes a film (segments as FRAMESxRATE[s]).
rz_film() {
  local out=$1
  shift
  wine "$RZ_MAKE_FILM" "$(winepath -w "$out")" "$@" >/dev/null || rz_fail "cannot make the film $*"
}

# rz_client_size: width and height of the main window's client area.
rz_client_size() {
  local client
  client=$(rz_probe client roRezodu) || rz_fail "no main window"
  printf '%s %s\n' "$(rz_field "$client" 3)" "$(rz_field "$client" 4)"
}

# rz_pixel PNG X Y: the colour at X,Y as RRGGBB.
rz_pixel() { convert "$1" -crop "1x1+$2+$3" +repage -format '%[hex:p{0,0}]' info: | cut -c1-6; }

# rz_shown_frame: "SEGMENT FRAME" (segment from 1) of the picture the player shows now,
# read at the middle of the picture area (the client area above the panel).
rz_shown_frame() {
  local w h colour red green blue
  read -r w h <<<"$(rz_client_size)"
  rz_screenshot roRezodu "$RZ_OUT/frame.png"
  colour=$(rz_pixel "$RZ_OUT/frame.png" $((w / 2)) $(((h - 40) / 2)))
  red=$((16#${colour:0:2}))
  green=$((16#${colour:2:2}))
  blue=$((16#${colour:4:2}))
  if [ $(((green - 30) % 60)) -ne 0 ] || [ $(((blue - 20) % 40)) -ne 0 ]; then echo "none $colour"; return; fi
  echo "$(((green - 30) / 60 + 1)) $((red + 256 * ((blue - 20) / 40)))"
}

# rz_shown_segment: the segment (from 1) the player shows now, or "none".
rz_shown_segment() { rz_shown_frame | cut -d' ' -f1; }

# rz_wait_segment N [SECONDS]: waits until the player shows segment N.
rz_wait_segment() {
  local n=$1
  rz_wait_until "${2:-10}" rz_showing "$n" || rz_fail "segment $n is not shown (shows $(rz_shown_frame))"
}
rz_showing() { [ "$(rz_shown_segment)" = "$1" ]; }

# rz_child CLASS [ID]: the probe line of the main window's first child of that class
# (and child id), as "handle class id left,top,right,bottom visible text".
rz_child() {
  rz_probe children roRezodu | awk -F'\t' -v c="$1" -v i="${2:-}" '$2 == c && (i == "" || $3 == i) {print; exit}'
}

# rz_child_visible CLASS [ID]: true when that child is shown.
rz_child_visible() { [ "$(rz_field "$(rz_child "$@")" 5)" = 1 ]; }

# rz_focus: "class id" of the window that has the keyboard focus.
rz_focus() {
  local line
  line=$(rz_probe focus roRezodu) || { echo none; return; }
  printf '%s %s\n' "$(rz_field "$line" 2)" "$(rz_field "$line" 3)"
}

# rz_panel_click X Y: clicks at X,Y of the bottom panel (docked at the client's bottom).
rz_panel_click() {
  local w h
  read -r w h <<<"$(rz_client_size)"
  rz_click roRezodu "$1" $((h - 40 + $2))
}

# rz_box_count: how many dialog boxes are shown.
rz_box_count() { rz_probe boxes 2>/dev/null | wc -l; }

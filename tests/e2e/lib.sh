# Shared by the end-to-end tests, which drive roRezodu.exe under Wine in Xvfb as a user
# does and look only at what a user sees. Each runs, inside a display, as
#   X_test.sh roRezodu.exe rz_probe.exe NATIVE_TOOLS_DIR   (the build with kof, tests/make_e2e_films)
# and begins with rz_e2e_init "$@" (the films in $RZ_FILMS, kof in $RZ_KOF); rz_start or
# rz_open start a player, rz_close ends it with Alt+F4 (exit code 0, no temporary folder
# left). Uses WINEPREFIX when set, else a prefix beside the player. Every wait polls and
# has a time limit; players still running at the end are killed.
#
# The tests beside this file run the player under Wine's heap checker (the WINEDEBUG
# channels in RZ_HEAP_CHECK, warn+heap unless set): freed blocks are filled with
# 0xFEEEFEEE, a block freed twice or not allocated is reported, and any heap line in the
# player's output fails the test when the player ends. +heap also finds writes into freed
# blocks, by validating the whole heap at every allocation: too slow for full-speed play,
# so a test asks for it around the players that need it. Other users of this file (the
# benchmarks) run the player as it is.
set -euo pipefail

RZ_HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
RZ_NAME="$(basename "$0" .sh)"
RZ_PID=""
RZ_PIDS=()
RZ_STATUS=""
RZ_TEMP_DIR=""
if [ "$(cd "$(dirname "$0")" && pwd)" = "$RZ_HERE" ]; then RZ_HEAP_CHECK=${RZ_HEAP_CHECK-warn+heap}; else RZ_HEAP_CHECK=""; fi

rz_fail() {
  echo "$RZ_NAME: $*" >&2
  if [ -n "${RZ_OUT:-}" ] && [ -d "$RZ_OUT" ]; then
    {
      echo "-- windows now:" && rz_probe windows
      echo "-- boxes now:" && rz_probe boxes
      [ ! -s "$RZ_OUT/probe-lost.log" ] || { echo "-- probes with no answer:" && tail -n 20 "$RZ_OUT/probe-lost.log"; }
      echo "-- the players' output:" && tail -n 20 "$RZ_OUT/player.log"
    } >&2 2>/dev/null || true
  fi
  exit 1
}

# rz_e2e_init PLAYER PROBE NATIVE_TOOLS_DIR: the Wine prefix, a scratch folder $RZ_OUT,
# clean-up at exit, the test films (make_e2e_films.cpp lists them) in $RZ_FILMS.
rz_e2e_init() {
  RZ_EXE="$1"
  RZ_PROBE="$2"
  : "${DISPLAY:?run this inside a display, e.g. xvfb-run}"
  # Wine takes command lines and file names in the locale's character set.
  export LC_ALL=C.UTF-8
  # shellcheck source=../../scripts/wine-env.sh
  source "$RZ_HERE/../../scripts/wine-env.sh"
  rz_wine_prefix "${WINEPREFIX:-$(cd "$(dirname "$RZ_EXE")" && pwd)/wine-e2e}" unmanaged
  export HOME="$HOME_FOR_WINE"
  # Wine starts its own service processes with the first program of a session, and they
  # keep that program's output open: a first program writing into the test's output
  # would hold ctest until its time limit. Start them with the output elsewhere.
  wine "$RZ_PROBE" windows </dev/null >/dev/null 2>&1 || true
  rz_unmanaged_windows
  # A heap found damaged ends the player at once, without the crash dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  RZ_SETTINGS="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/roRezodu/settings.txt"
  RZ_OUT=$(mktemp -d)
  RZ_KEEP_DIR="$(cd "$(dirname "$RZ_EXE")" && pwd)/e2e-output/$RZ_NAME"
  rm -rf "$RZ_KEEP_DIR"
  trap rz_cleanup EXIT
  RZ_FOLDERS=$(rz_temp_folders)
  RZ_KOF="$3/kof"
  RZ_FILMS="$RZ_OUT/films"
  [ -x "$RZ_KOF" ] && [ -x "$3/tests/make_e2e_films" ] ||
    rz_fail "no kof or make_e2e_films in $3: build the release preset first (RZ_NATIVE_TOOLS)"
  "$3/tests/make_e2e_films" "$RZ_FILMS" || rz_fail "make_e2e_films failed"
}

# rz_forget_language_at_exit: the language choice removed from the settings now and when
# the test ends (the prefix is shared with the other tests, which read Russian).
rz_forget_language() { [ ! -f "$RZ_SETTINGS" ] || sed -i '/^language=/d' "$RZ_SETTINGS"; }
rz_forget_language_at_exit() {
  trap 'rz_forget_language; rz_cleanup' EXIT
  rz_forget_language
}
# rz_settings_aside: the settings file set aside, and put back when the test ends (the
# prefix is shared with the other tests).
rz_settings_aside() {
  mkdir -p "$(dirname "$RZ_SETTINGS")"
  if [ -f "$RZ_SETTINGS" ]; then mv "$RZ_SETTINGS" "$RZ_OUT/theirs.txt"; fi
  trap 'rz_settings_back; rz_cleanup' EXIT
}
rz_settings_back() { if [ -f "$RZ_OUT/theirs.txt" ]; then mv "$RZ_OUT/theirs.txt" "$RZ_SETTINGS"; else rm -f "$RZ_SETTINGS"; fi; }

rz_cleanup() {
  local pid
  for pid in "${RZ_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$RZ_OUT"
}

# Without a window manager Wine must draw the frames itself, so that X windows have the
# size of the Windows windows. A prefix made for a desktop gets the setting here.
rz_unmanaged_windows() {
  grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null && return
  for value in Managed Decorated; do
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v "$value" /d N /f >/dev/null 2>&1
  done
}

# rz_wait_until SECONDS COMMAND...: polls COMMAND until it succeeds; fails after SECONDS.
rz_wait_until() {
  local limit=$1 end
  shift
  end=$((SECONDS + limit))
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.2
  done
}

# rz_start ARGS...: starts a player with these arguments; $RZ_PID is its process (the
# one rz_wait_exit waits for; set it back to wait for an earlier one).
rz_start() {
  if [ -n "$RZ_HEAP_CHECK" ]; then
    WINEDEBUG="-all,$RZ_HEAP_CHECK" wine "$RZ_EXE" "$@" >>"$RZ_OUT/player.log" \
      2> >(grep --line-buffered -v ':trace:heap:' >>"$RZ_OUT/player.log") &
  else
    wine "$RZ_EXE" "$@" >>"$RZ_OUT/player.log" 2>&1 &
  fi
  RZ_PID=$!
  RZ_PIDS+=("$RZ_PID")
}

# rz_open FILM ARGS...: rz_start on the film (a Unix path) with the arguments, then waits
# for its window.
rz_open() {
  rz_start "$(rz_windows_path "$1")" "${@:2}"
  rz_wait_window roRezodu 90
}

# rz_probe COMMAND ARGS...: runs rz_probe.exe (see its header for commands and output).
# The probe's last line on standard error is "rz_probe: answered STATUS", and that status
# is its answer: Wine may abort a process as it ends ("Inconsistency detected by ld.so")
# or fail to start it under load, and a run that did not say it answered is logged in
# probe-lost.log (which a failure prints) and run again. What the last probe told on
# standard error is kept in $RZ_OUT/probe.err (why a window was not found), as the tests
# poll and most of their misses are expected.
rz_probe() {
  local out status answered tries=0
  while :; do
    status=0
    out=$(wine "$RZ_PROBE" "$@" 2>"$RZ_OUT/probe.err") || status=$?
    answered=$(sed -n 's/^rz_probe: answered \([0-9]*\).*/\1/p' "$RZ_OUT/probe.err")
    [ -z "$answered" ] || { status=$answered && break; }
    { echo "rz_probe $* ended with $status, no answer:" && cat "$RZ_OUT/probe.err"; } >>"$RZ_OUT/probe-lost.log"
    [ $((tries += 1)) -lt 5 ] || break
  done
  [ -z "$out" ] || printf '%s\n' "$out"
  return "$status"
}

# rz_wait_window TITLE [SECONDS]: waits until a window titled TITLE is visible.
rz_wait_window() { rz_probe wait "$1" "${2:-30}" || rz_fail "no window titled '$1' appeared"; }
# rz_wait_gone TITLE [SECONDS]: waits until no window titled TITLE is visible.
rz_wait_gone() { rz_probe gone "$1" "${2:-10}" || rz_fail "the window '$1' is still there"; }

# rz_field LINE N: the N-th tab-separated field of a probe line.
rz_field() { printf '%s\n' "$1" | cut -f "$2"; }
# rz_window_is TITLE N VALUE: true when field N of the window's probe line is VALUE
# (3 its rectangle, 6 minimised, maximised or normal).
rz_window_is() { [ "$(rz_field "$(rz_probe window "$1")" "$2")" = "$3" ]; }

# rz_x_window TITLE: the X window that shows the Windows window titled TITLE.
rz_x_window() {
  local pattern w
  pattern="^$(printf '%s' "$1" | sed 's/[][\.*^$()+?{}|]/\\&/g')\$"
  for w in $(xdotool search --onlyvisible --name "$pattern" 2>/dev/null); do
    xdotool getwindowgeometry "$w" >/dev/null 2>&1 && { echo "$w"; return 0; }
  done
  return 1
}

# rz_x_agrees TITLE: true when the X window of the window titled TITLE covers the
# rectangle Windows gives it. Windows has a window's new place a moment before the X
# server does, and a click goes wherever the X windows are then.
rz_x_agrees() {
  local xw geometry WINDOW X Y WIDTH HEIGHT SCREEN
  xw=$(rz_x_window "$1") && geometry=$(xdotool getwindowgeometry --shell "$xw") || return 1
  eval "$geometry"
  [ "$(rz_field "$(rz_probe window "$1")" 3)" = "$X,$Y,$((X + WIDTH)),$((Y + HEIGHT))" ]
}

# rz_keys TITLE KEY...: gives the window titled TITLE the keyboard focus and presses the
# keys (xdotool names: alt+F4, Escape, Return, F9, ctrl+o ...), one after the other.
rz_keys() {
  local title=$1 window
  shift
  window=$(rz_x_window "$title") || rz_fail "no X window for '$title'"
  xdotool windowfocus --sync "$window"
  xdotool key --delay 60 "$@"
}

# rz_client TITLE: the window's client area, its screen position in RZ_X, RZ_Y and its
# size in RZ_W, RZ_H; fails the test when there is no such window.
rz_client() {
  local line
  line=$(rz_probe client "$1") || rz_fail "no window titled '$1' (status $?: $(head -c 600 "$RZ_OUT/probe.err"))"
  read -r RZ_X RZ_Y RZ_W RZ_H <<<"$(tr '\t' ' ' <<<"$line")"
}
# rz_click TITLE X Y [BUTTON]: clicks at X,Y in the client area of the window TITLE
# (button 1 left, 3 right).
rz_click() { rz_client "$1" && xdotool mousemove $((RZ_X + $2)) $((RZ_Y + $3)) click "${4:-1}"; }

# rz_client_size: "WIDTH HEIGHT" of the main window's client area.
rz_client_size() { rz_probe client roRezodu | cut -f 3,4 --output-delimiter ' '; }
# rz_panel_click X Y [BUTTON]: a click at X,Y of the 40 high panel along the client area's bottom.
rz_panel_click() { rz_click roRezodu "$1" $(($(rz_client_size | cut -d' ' -f2) - 40 + $2)) "${3:-1}"; }
# rz_mouse_to X Y: the mouse at X,Y of the main window's client area.
rz_mouse_to() { rz_client roRezodu && xdotool mousemove $((RZ_X + $1)) $((RZ_Y + $2)); }

# rz_keep FILE...: keeps the files (screenshots to look at) after the test, in its output
# folder beside the player (e2e-output/NAME), which the test's next run empties.
rz_keep() { mkdir -p "$RZ_KEEP_DIR" && cp "$@" "$RZ_KEEP_DIR/"; }

# rz_screenshot TITLE FILE: the client area of the window titled TITLE, as a PNG.
rz_screenshot() { rz_client "$1" && import -window root -crop "${RZ_W}x$RZ_H+$RZ_X+$RZ_Y" +repage "$2"; }
# rz_shot_area TITLE X Y W H FILE: the W x H rectangle at X,Y of the window's client area.
rz_shot_area() { rz_client "$1" && import -window root -crop "$4x$5+$((RZ_X + $2))+$((RZ_Y + $3))" +repage "$6"; }

# rz_same_image A B: true when the two pictures are equal pixel for pixel.
rz_same_image() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }

# rz_image_difference A B: the mean absolute difference of the two pictures, 0 to 1.
rz_image_difference() { compare -metric MAE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'; }

# rz_pixel PNG X Y: the colour at X,Y as rrggbb.
rz_pixel() { convert "$1" -crop "1x1+$2+$3" +repage -format '%[hex:p{0,0}]' info: | cut -c1-6 | tr 'A-F' 'a-f'; }

# rz_volume_label FILE: the panel's volume label (right of x = 548, 16 high), as a PNG.
rz_volume_label() {
  rz_client roRezodu && import -window root -crop "$((RZ_W - 550))x16+$((RZ_X + 548))+$((RZ_Y + RZ_H - 19))" +repage "$1"
}

# rz_focus: "CLASS ID" of the focused window; the picture (the main window) as "picture".
rz_focus() {
  local line
  line=$(rz_probe focus roRezodu) || { echo none; return; }
  if [ "$(rz_field "$line" 2)" = KOAPP ]; then echo picture; else rz_field "$line" 2,3 | tr '\t' ' '; fi
}

# rz_colours FILE: how many different colours the picture has.
rz_colours() { convert "$1" -format '%k' info:; }

# rz_temp_dir: the Unix path of Wine's %TEMP% in this prefix, read once from the user's
# registry file (a console program run for it now and then came back empty).
rz_temp_dir() {
  if [ -z "$RZ_TEMP_DIR" ]; then
    local windows_path
    windows_path=$(awk -F'"' '/^\[Environment\]/ { env = 1; next } /^\[/ { env = 0 }
                              env && $2 == "TEMP" { print $4; exit }' "$WINEPREFIX/user.reg")
    windows_path=${windows_path//\\\\/\\}  # the file doubles its backslashes
    windows_path=${windows_path//%USERPROFILE%/C:\\users\\$(id -un)}
    case "$windows_path" in
      [Cc]:\\*) RZ_TEMP_DIR="$WINEPREFIX/drive_c/$(printf '%s' "${windows_path:3}" | tr '\\' /)" ;;
    esac
    [ -d "$RZ_TEMP_DIR" ] || rz_fail "no temporary folder of Wine found (TEMP is '$windows_path')"
  fi
  printf '%s\n' "$RZ_TEMP_DIR"
}

# rz_temp_folders: the player's temporary folders (koP_*) now in %TEMP%, one a line.
rz_temp_folders() { find "$(rz_temp_dir)" -maxdepth 1 -name 'koP_*' -printf '%f\n' 2>/dev/null | sort; }

# rz_wait_exit [SECONDS]: waits for the player to end; its exit code is then $RZ_STATUS.
# Fails the test when the heap checker reported anything.
rz_wait_exit() {
  rz_wait_until "${1:-20}" rz_ended || return 1
  RZ_STATUS=0
  wait "$RZ_PID" || RZ_STATUS=$?
  RZ_PID=""
  RZ_PIDS=()
  rz_no_heap_lines
}

# rz_no_heap_lines: fails the test when Wine's heap checker reported anything so far.
rz_no_heap_lines() {
  sleep 0.2  # the last lines of the player's output pass through the filter
  ! grep -m 3 ':heap:' "$RZ_OUT/player.log" >&2 || rz_fail "Wine's heap checker reported the lines above"
}
rz_ended() { ! kill -0 "$RZ_PID" 2>/dev/null; }

# rz_ended_well SECONDS WHEN: the player ends within SECONDS with exit code 0 and leaves
# the temporary folders as they were when the test began (WHEN names the moment).
rz_ended_well() {
  rz_wait_exit "$1" || rz_fail "the player did not end $2"
  [ "$RZ_STATUS" -eq 0 ] || rz_fail "the player ended with exit code $RZ_STATUS $2"
  [ "$(rz_temp_folders)" = "$RZ_FOLDERS" ] || rz_fail "temporary folders left $2: $(rz_temp_folders)"
}
# rz_close [TITLE]: Alt+F4 to the window titled TITLE (roRezodu); the player ends well.
rz_close() { rz_keys "${1:-roRezodu}" alt+F4 && rz_ended_well 30 "after Alt+F4"; }
# rz_pause: F10 to the main window, whose Pause item is then checked.
rz_pause() { rz_keys roRezodu F10 && rz_wait_menu_state roRezodu 1.1 enabled,checked; }

# rz_windows_path PATH: the path as the player takes it: Wine's drive Z: is the Unix
# root (a parameter that starts with "/" would read as an option).
rz_windows_path() { printf 'Z:%s\n' "$(realpath "$1" | tr / '\\')"; }

# rz_reference_frames FILM SEGMENT: the pictures kof renders for the segment (from 1), in
# a folder, and a list beside it of "frame signature" lines (ImageMagick's signature of
# the pixels); prints the list's path.
rz_reference_frames() {
  local dir
  dir="$RZ_OUT/frames/$(basename "$1" .kof)-$2"
  "$RZ_KOF" frames "$1" --segment "$2" --out "$dir" >/dev/null || rz_fail "kof frames $1 --segment $2 failed"
  identify -format '%f %#\n' "$dir"/*.png | sed 's/^seg[0-9]*_frame0*\([0-9]\)/\1/; s/\.png / /' >"$dir.sig"
  printf '%s\n' "$dir.sig"
}

# rz_available TITLE: "X Y WIDTH HEIGHT", the screen position of the window's client area
# and the size of the area its picture is laid out in: one pixel wider and higher than
# the client area, less the control panel's RZ_PANEL_HEIGHT pixels (40 at 96 DPI) while
# View > Control panel is checked (in full screen, without a menu bar, the panel is off).
RZ_PANEL_HEIGHT=40
rz_available() {
  local panel=0
  rz_client "$1"
  [ "$(rz_menu_state "$1" 2.0)" != enabled,checked ] || panel=$RZ_PANEL_HEIGHT
  echo "$RZ_X $RZ_Y $((RZ_W + 1)) $((RZ_H + 1 - panel))"
}

# rz_picture_at TITLE W H: "X Y", where on the screen the window titled TITLE shows an
# unscaled W x H picture: centred in the available area (rz_available).
rz_picture_at() {
  local x y w h
  read -r x y w h <<<"$(rz_available "$1")"
  echo "$((x + (w - $2) / 2)) $((y + (h - $3) / 2))"
}

# rz_shot_picture TITLE W H FILE: the unscaled W x H picture of the window, as a PNG.
rz_shot_picture() {
  local x y
  read -r x y <<<"$(rz_picture_at "$1" "$2" "$3")"
  import -window root -crop "$2x$3+$x+$y" +repage "$4"
}

# rz_wait_frame TITLE W H LIST [SECONDS]: waits until the window shows a frame of LIST
# (rz_reference_frames) unscaled and pixel for pixel, and prints its number. A picture
# photographed while it is being drawn matches nothing and is taken again; so is the
# picture's place, now and then, as a window just shown may not have its layout yet.
rz_wait_frame() {
  local end x y shot="$RZ_OUT/wait-frame.png" tries=0
  end=$((SECONDS + ${5:-10}))
  read -r x y <<<"$(rz_picture_at "$1" "$2" "$3")"
  until import -window root -crop "$2x$3+$x+$y" +repage "$shot" && rz_frame_in "$shot" "$4"; do
    [ $SECONDS -lt $end ] || rz_fail "the window '$1' shows no frame of $(basename "$4" .sig) at $x,$y"
    sleep 0.1
    [ $(((tries += 1) % 10)) -ne 0 ] || read -r x y <<<"$(rz_picture_at "$1" "$2" "$3")"
  done
}

# rz_still_frame TITLE W H LIST: the frame a paused window shows; fails unless it is a
# frame of LIST and still the same a moment later.
rz_still_frame() {
  local frame again
  frame=$(rz_wait_frame "$@") || exit 1
  sleep 0.4  # the time a playing film needs to show the next frames
  again=$(rz_wait_frame "$@") || exit 1
  [ "$frame" = "$again" ] || rz_fail "the picture moved from frame $frame to $again while paused"
  echo "$frame"
}

# rz_moving TITLE W H: true when the unscaled picture changes within a second.
rz_moving() {
  local x y
  read -r x y <<<"$(rz_picture_at "$1" "$2" "$3")"
  import -window root -crop "$2x$3+$x+$y" +repage "$RZ_OUT/moving1.png"
  sleep 0.5
  import -window root -crop "$2x$3+$x+$y" +repage "$RZ_OUT/moving2.png"
  ! rz_same_image "$RZ_OUT/moving1.png" "$RZ_OUT/moving2.png"
}

# rz_frame_in FILE LIST: the number of the reference frame (rz_reference_frames) that
# the picture equals pixel for pixel; fails when none does.
rz_frame_in() {
  local signature
  signature=$(identify -format '%#' "$1")
  awk -v s="$signature" '$2 == s { print $1; found = 1; exit } END { exit !found }' "$2"
}

# rz_child CLASS [ID]: the probe line of the main window's first child of that class (and
# id): "handle class id left,top,right,bottom visible text".
rz_child() {
  rz_probe children roRezodu | awk -F'\t' -v c="$1" -v i="${2:-}" '$2 == c && (i == "" || $3 == i) {print; exit}'
}
# rz_child_box CLASS [ID]: "LEFT TOP RIGHT BOTTOM" of that child in the client area.
rz_child_box() { rz_field "$(rz_child "$@")" 4 | tr , ' '; }
# rz_child_visible CLASS [ID]: true when that child is shown.
rz_child_visible() { [ "$(rz_field "$(rz_child "$@")" 5)" = 1 ]; }

# rz_open_list [WHAT]: F6 (or WHAT, when given, has just been done) shows the segment list.
rz_open_list() {
  [ -n "${1:-}" ] || rz_keys roRezodu F6
  rz_wait_until 5 rz_child_visible koSegmentList || rz_fail "${1:-F6} did not show the segment list"
}

# rz_choose_language 1|2: View > Язык / Language > Русский (1) or English (2), by keys. The
# submenu is View's last item: Down opens View, Up wraps round to it, Right opens it. A
# loaded machine now and then loses a key of the walk: it is tried again, from a closed
# menu, until the File title reads as the language wants. A walk that lost a key may
# have chosen another item of View; Full screen takes the menu bar away, and a double
# click on the picture brings it back before the next try.
rz_choose_language() {
  local want="&Файл" try
  [ "$1" = 1 ] || want="&File"
  for try in 1 2 3; do
    rz_keys roRezodu alt
    rz_keys roRezodu Right Right Down Up Right
    [ "$1" = 1 ] || rz_keys roRezodu Down
    rz_keys roRezodu Return
    rz_wait_until 5 eval '[ "$(rz_menu_item roRezodu 0 | cut -f 2)" = "$want" ]' && return 0
    rz_keys roRezodu Escape Escape Escape
    if ! rz_probe menu roRezodu >/dev/null; then
      rz_mouse_to 100 100
      xdotool click --repeat 2 --delay 100 1
      rz_wait_until 10 eval 'rz_probe menu roRezodu >/dev/null' || true
    fi
  done
  rz_fail "the language did not change to $1: File is $(rz_menu_item roRezodu 0)"
}

# rz_shown_frame W H LIST...: "SEGMENT FRAME" of the W x H picture the player shows now,
# SEGMENT the place (from 1) of the first list of reference frames that holds it; "none".
rz_shown_frame() {
  local width=$1 height=$2 segment=0 list frame
  shift 2
  rz_shot_picture roRezodu "$width" "$height" "$RZ_OUT/shown.png"
  for list in "$@"; do
    segment=$((segment + 1))
    frame=$(rz_frame_in "$RZ_OUT/shown.png" "$list") && { echo "$segment $frame"; return; }
  done
  echo none
}

# rz_open_seek_film: seek.kof (6 s and 8 s at 10 frames per second, 160 x 120, one colour
# a frame) paused on its first segment; rz_seek_shown: "SEGMENT FRAME" it shows, or "none".
rz_open_seek_film() {
  RZ_SEEK_LISTS=("$(rz_reference_frames "$RZ_FILMS/seek.kof" 1)" "$(rz_reference_frames "$RZ_FILMS/seek.kof" 2)")
  rz_open "$RZ_FILMS/seek.kof"
  rz_wait_frame roRezodu 160 120 "${RZ_SEEK_LISTS[0]}" 30 >/dev/null
  rz_keys roRezodu F10
}
rz_seek_shown() { rz_shown_frame 160 120 "${RZ_SEEK_LISTS[@]}"; }
# rz_press_and_expect KEY SEGMENT FRAME ...: each key, then exactly the frame kof renders
# for that place of seek.kof; $RZ_AFTER_KEY, when set, then runs with the key.
rz_press_and_expect() {
  local want
  while [ $# -gt 0 ]; do
    rz_keys roRezodu "$1"
    want="$2 $3"
    rz_wait_until 10 eval '[ "$(rz_seek_shown)" = "$want" ]' ||
      rz_fail "$1 should show segment $2, frame $3; shows $(rz_seek_shown)"
    [ -z "${RZ_AFTER_KEY:-}" ] || "$RZ_AFTER_KEY" "$1"
    shift 3
  done
}

# rz_menu_item TITLE POSITION: "state<TAB>text" of the menu bar item at POSITION ("1.0").
rz_menu_item() { rz_probe menu "$1" | awk -F'\t' -v p="$2" '($1 "") == (p "") { print $2 "\t" $3 }'; }
# rz_menu_state TITLE POSITION: its state ("enabled,checked", "grayed" ...).
rz_menu_state() { rz_menu_item "$1" "$2" | cut -f 1; }
# rz_wait_menu_state TITLE POSITION STATE [SECONDS]: waits until the item has that state.
rz_wait_menu_state() {
  rz_wait_until "${4:-10}" rz_menu_state_is "$1" "$2" "$3" ||
    rz_fail "menu item $2 is '$(rz_menu_state "$1" "$2")', not '$3'"
}
rz_menu_state_is() { [ "$(rz_menu_state "$1" "$2")" = "$3" ]; }

# rz_box TITLE: "text<TAB>buttons" of the dialog box titled TITLE (texts escaped as rz_probe
# writes them); fails when there is none.
rz_box() { rz_probe boxes | awk -F'\t' -v t="$1" '$2 == t { print $3 "\t" $4; found = 1 } END { exit !found }'; }
# rz_dismiss TITLE [BUTTON]: the box's BUTTON (OK) clicked; waits until the box has gone.
rz_dismiss() { rz_probe click "$1" "${2:-OK}" >/dev/null || rz_fail "no '${2:-OK}' in '$1'"; rz_wait_gone "$1"; }
# rz_expect_box TITLE TEXT [SECONDS]: the box comes with this text (its window may come a
# moment before it) and an OK button; OK closes it.
rz_expect_box() {
  local title=$1 want="$2	OK"
  rz_wait_window "$title" "${3:-20}"
  rz_wait_until 10 eval '[ "$(rz_box "$title")" = "$want" ]' || rz_fail "box '$title': $(rz_box "$title"), expected: $2"
  rz_dismiss "$title"
}

# rz_save_as WINDOWS_PATH: the Save box that opens now gets the name typed and takes it.
rz_save_as() {
  rz_wait_until 20 eval '[ "$(rz_box_count)" -ge 1 ]' || rz_fail "no Save box opened"
  sleep 0.5
  xdotool key --delay 60 ctrl+a
  xdotool type --delay 30 "$1"
  xdotool key Return
}

# rz_open_dialog TITLE: Ctrl+O in the window titled TITLE; $RZ_DIALOG is then the title of
# the Open dialog it owns.
rz_open_dialog() {
  local main
  rz_keys "$1" ctrl+o
  main=$(rz_field "$(rz_probe window "$1")" 1)
  rz_open_dialog_shown() {
    RZ_DIALOG=$(rz_probe windows | awk -F'\t' -v m="$main" '$2 == "#32770" && $4 == m { print $5 }')
    [ -n "$RZ_DIALOG" ]
  }
  rz_wait_until 10 rz_open_dialog_shown || rz_fail "Ctrl+O opened no dialog: $(rz_probe windows)"
}
# rz_open_typed TITLE PATH: the film's path typed into the Open dialog of the window
# titled TITLE (xdotool types ASCII only); waits for the window that names the film.
rz_open_typed() {
  rz_open_dialog "$1"
  rz_keys "$RZ_DIALOG" ctrl+a
  xdotool type --delay 15 "$2"
  xdotool key Return
  rz_wait_window "roRezodu - [$2]" 10
}

# rz_note TEXT: the probe line of the main window's visible note (koNote) holding TEXT.
rz_note() { rz_probe children roRezodu | T="$1" awk -F'\t' '$2 == "koNote" && $5 == 1 && index($6, ENVIRON["T"]) { print; exit }'; }
# rz_offered: true when the note offering to resume the film shows.
rz_offered() { [ -n "$(rz_note 'Продолжить с')" ]; }

# rz_open_about: Help > About by keys (Alt selects Файл, three steps right reach Справка,
# Down opens it and Up wraps round to its last item), once the box has painted itself.
RZ_ABOUT="О программе"
rz_open_about() {
  rz_keys roRezodu alt
  rz_keys roRezodu Right Right Right Down Up Return
  rz_wait_window "$RZ_ABOUT" 10
  sleep 0.3
}

# rz_box_count: how many dialog boxes are open.
rz_box_count() { rz_probe boxes 2>/dev/null | wc -l; }

# rz_no_boxes: fails (naming them) when any dialog box is open.
rz_no_boxes() {
  local boxes
  boxes=$(rz_probe boxes) || return 0
  rz_fail "unexpected boxes: $boxes"
}

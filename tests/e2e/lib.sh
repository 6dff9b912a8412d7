# Shared by the end-to-end tests, which drive roRezodu.exe under Wine in Xvfb as a user
# does and look only at what a user sees. Source it, then call rz_e2e_init:
#
#   source "$(dirname "$0")/lib.sh"
#   rz_e2e_init "$1" "$2"              # roRezodu.exe, rz_probe.exe
#   rz_start                           # arguments go to the player
#   rz_wait_window roRezodu
#   rz_probe menu roRezodu
#   rz_keys roRezodu alt+F4
#   rz_wait_exit && [ "$RZ_STATUS" -eq 0 ] || rz_fail "exit code $RZ_STATUS"
#
# Needs DISPLAY (xvfb-run). Uses WINEPREFIX when set, else a prefix of its own beside
# the player. Every wait polls and has a time limit; the player is killed on exit.
set -euo pipefail

RZ_HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
RZ_NAME="$(basename "$0" .sh)"
RZ_PID=""
RZ_STATUS=""
RZ_TEMP_DIR=""
RZ_BROWSER_SET=""

rz_fail() {
  echo "$RZ_NAME: $*" >&2
  exit 1
}

# rz_e2e_init PLAYER PROBE: the Wine prefix, a scratch folder $RZ_OUT, clean-up at exit.
rz_e2e_init() {
  RZ_EXE="$1"
  RZ_PROBE="$2"
  : "${DISPLAY:?run this inside a display, e.g. xvfb-run}"
  # shellcheck source=../../scripts/wine-env.sh
  source "$RZ_HERE/../../scripts/wine-env.sh"
  rz_wine_prefix "${WINEPREFIX:-$(cd "$(dirname "$RZ_EXE")" && pwd)/wine-e2e}" unmanaged
  export HOME="$HOME_FOR_WINE"
  rz_unmanaged_windows
  RZ_OUT=$(mktemp -d)
  trap rz_cleanup EXIT
}

rz_cleanup() {
  if [ -n "$RZ_PID" ] && kill -0 "$RZ_PID" 2>/dev/null; then kill "$RZ_PID" 2>/dev/null || true; fi
  [ -z "$RZ_BROWSER_SET" ] || wine reg delete 'HKCU\Software\Wine\WineBrowser' /v Browsers /f >/dev/null 2>&1 || true
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

# rz_start ARGS...: starts the player with these arguments; $RZ_PID is its process.
rz_start() {
  wine "$RZ_EXE" "$@" >"$RZ_OUT/player.log" 2>&1 &
  RZ_PID=$!
}

# rz_probe COMMAND ARGS...: runs rz_probe.exe (see its header for commands and output).
rz_probe() { wine "$RZ_PROBE" "$@"; }

# rz_wait_window TITLE [SECONDS]: waits until a window titled TITLE is visible.
rz_wait_window() { rz_probe wait "$1" "${2:-30}" || rz_fail "no window titled '$1' appeared"; }
# rz_wait_gone TITLE [SECONDS]: waits until no window titled TITLE is visible.
rz_wait_gone() { rz_probe gone "$1" "${2:-10}" || rz_fail "the window '$1' is still there"; }

# rz_field LINE N: the N-th tab-separated field of a probe line.
rz_field() { printf '%s\n' "$1" | cut -f "$2"; }

# rz_x_window TITLE: the X window that shows the Windows window titled TITLE.
rz_x_window() {
  local pattern w
  pattern="^$(printf '%s' "$1" | sed 's/[][\.*^$()+?{}|]/\\&/g')\$"
  for w in $(xdotool search --onlyvisible --name "$pattern" 2>/dev/null); do
    xdotool getwindowgeometry "$w" >/dev/null 2>&1 && { echo "$w"; return 0; }
  done
  return 1
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

# rz_click TITLE X Y [BUTTON]: clicks at X,Y in the client area of the window TITLE
# (button 1 left, 3 right).
rz_click() {
  local client left top
  client=$(rz_probe client "$1") || rz_fail "no window titled '$1' to click"
  left=$(rz_field "$client" 1)
  top=$(rz_field "$client" 2)
  xdotool mousemove $((left + $2)) $((top + $3)) click "${4:-1}"
}

# rz_record_browser FILE: web addresses the program opens are written to FILE, one a
# line, instead of starting a browser (Wine's winebrowser runs the first program of its
# list). Undone at exit.
rz_record_browser() {
  printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' "$1" > "$RZ_OUT/browser.sh"
  chmod +x "$RZ_OUT/browser.sh"
  wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$RZ_OUT/browser.sh" /f >/dev/null 2>&1
  RZ_BROWSER_SET=1
}

# rz_screenshot TITLE FILE: the client area of the window titled TITLE, as a PNG.
rz_screenshot() {
  local client x y w h
  client=$(rz_probe client "$1") || rz_fail "no window titled '$1' to photograph"
  read -r x y w h <<<"$(printf '%s' "$client" | tr '\t' ' ')"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
}

# rz_same_image A B: true when the two pictures are equal pixel for pixel.
rz_same_image() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }

# rz_image_difference A B: the mean absolute difference of the two pictures, 0 to 1.
rz_image_difference() { compare -metric MAE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'; }

# rz_colours FILE: how many different colours the picture has.
rz_colours() { convert "$1" -format '%k' info:; }

# rz_temp_dir: the Unix path of Wine's %TEMP% in this prefix (asked once).
rz_temp_dir() {
  if [ -z "$RZ_TEMP_DIR" ]; then
    local windows_path
    windows_path=$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
    RZ_TEMP_DIR=$(winepath -u "$windows_path" 2>/dev/null)
  fi
  printf '%s\n' "$RZ_TEMP_DIR"
}

# rz_temp_folders: the player's temporary folders (koP_*) now in %TEMP%, one a line.
rz_temp_folders() { find "$(rz_temp_dir)" -maxdepth 1 -name 'koP_*' -printf '%f\n' 2>/dev/null | sort; }

# rz_wait_exit [SECONDS]: waits for the player to end; its exit code is then $RZ_STATUS.
rz_wait_exit() {
  rz_wait_until "${1:-20}" rz_ended || return 1
  RZ_STATUS=0
  wait "$RZ_PID" || RZ_STATUS=$?
  RZ_PID=""
}
rz_ended() { ! kill -0 "$RZ_PID" 2>/dev/null; }

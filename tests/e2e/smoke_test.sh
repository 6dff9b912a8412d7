#!/usr/bin/env bash
# Starts roRezodu.exe under Wine, finds its main window, checks its size and that it
# shows something, closes it with Alt+F4 and checks that the program ends with 0.
# Needs DISPLAY (run inside xvfb-run) and a WINEPREFIX of its own.
set -euo pipefail
exe="$1"
: "${DISPLAY:?run this inside a display, e.g. xvfb-run}"
export WINEDEBUG=-all
out=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$out"
}
trap cleanup EXIT

fail() { echo "smoke: $*" >&2; exit 1; }

# Polls a command until it succeeds or the time limit (seconds) passes.
wait_for() {
  local limit=$1; shift
  local end=$((SECONDS + limit))
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.2
  done
}

# Without a window manager (Xvfb) Wine must draw the frames itself, so that the X window
# has the Windows window's size.
for value in Managed Decorated; do
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v "$value" /d N /f >/dev/null 2>&1
done

wine "$exe" > "$out/stdout" 2>&1 &
pid=$!

# Wine may create and replace X windows while the program starts: take the one that
# is mapped, and read its geometry in the same breath.
find_window() {
  local w
  for w in $(xdotool search --onlyvisible --name '^roRezodu$' 2>/dev/null); do
    if eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)" && [ "${WIDTH:-0}" -gt 0 ]; then
      window=$w
      return 0
    fi
  done
  return 1
}
wait_for 90 find_window || fail "no window titled roRezodu appeared"
[ "$WIDTH" = 600 ] && [ "$HEIGHT" = 400 ] || fail "window is ${WIDTH}x${HEIGHT}, expected 600x400"
[ "$X" = 0 ] && [ "$Y" = 0 ] || fail "window is at $X,$Y, expected 0,0"

# The window must show something: its menu bar and frame are not one flat colour.
shows_something() {
  import -window root -crop "600x400+0+0" "$out/window.png" 2>/dev/null &&
    [ "$(convert "$out/window.png" -format '%k' info:)" -gt 2 ]
}
wait_for 20 shows_something || fail "the window area shows a single colour"
[ -n "${SMOKE_SCREENSHOT:-}" ] && cp "$out/window.png" "$SMOKE_SCREENSHOT"

xdotool windowfocus --sync "$window"
xdotool key alt+F4
ended() { ! kill -0 "$pid" 2>/dev/null; }
wait_for 30 ended || fail "the program did not end after Alt+F4"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"
echo "smoke: window 600x400 at 0,0 shown and closed, exit code 0"

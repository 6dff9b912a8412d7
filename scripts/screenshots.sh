#!/usr/bin/env bash
# Makes the README's picture of the player at two screen scales, docs/screen-scale.png:
# the demo film's first lesson, paused a few seconds in, in the player at 100 % (left)
# and at 200 % (right), each window as large as that screen shows it. Runs under Wine in
# Xvfb (a screen of 2560 x 1600) with a prefix of its own, build/wine-screenshots, whose
# LogPixels it sets to 96 and to 192. docs/activity-strip.png is the panel of the second,
# with the activity strip along its progress bar.
#   scripts/screenshots.sh [SECONDS]    # how far into the lesson (4 by default)
# RZ_SCREENSHOTS_PRESET names the native preset that builds kof and the films (release
# unless set).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if [ -z "${RZ_SCREENSHOTS_DISPLAY:-}" ]; then
  RZ_SCREENSHOTS_DISPLAY=1 exec xvfb-run -a -s "-screen 0 2560x1600x24" "$0" "$@"
fi
seconds=${1:-4}
RZ_MINGW_PREFIX=${RZ_MINGW_PREFIX:-$(scripts/setup.sh)}
export RZ_MINGW_PREFIX
native=${RZ_SCREENSHOTS_PRESET:-release}
cmake --preset "$native" >/dev/null && cmake --build --preset "$native" --target kof make_e2e_films make_demo_film >/dev/null
cmake --preset windows >/dev/null && cmake --build --preset windows --target roRezodu rz_probe >/dev/null
"build/$native/make_demo_film" build/demo.kof
export WINEPREFIX="$PWD/build/wine-screenshots"
source tests/e2e/lib.sh
rz_e2e_init build/windows/roRezodu.exe build/windows/tests/rz_probe.exe "build/$native"

shots=()
for dpi in 96 192; do
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  rz_start "$(rz_windows_path build/demo.kof)"
  rz_wait_window roRezodu
  rz_wait_menu_state roRezodu 1.0 enabled,checked
  sleep "$seconds"
  rz_keys roRezodu F10
  rz_wait_menu_state roRezodu 1.1 enabled,checked
  sleep 0.5
  IFS=, read -r left top right bottom <<<"$(rz_field "$(rz_probe window roRezodu)" 3)"
  import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$RZ_OUT/$dpi.png"
  shots+=("$RZ_OUT/$dpi.png")
  rz_close
done
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
mkdir -p docs
convert "${shots[0]}" -size 24x1 xc:white "${shots[1]}" -background white -gravity north +append docs/screen-scale.png
# The panel at 200 % is 80 pixels high; the window's frame below it comes along.
convert "${shots[1]}" -gravity south -crop x86+0+0 +repage docs/activity-strip.png
echo "docs/screen-scale.png: $(identify -format '%w x %h' docs/screen-scale.png)"
